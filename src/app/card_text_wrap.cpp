#include "app/card_text_wrap.h"

namespace olve {

namespace {

bool IsWide(QChar c)
{
    // Characters outside ASCII and half-width katakana take two bytes in the stored text.
    const char16_t u = c.unicode();
    return u >= 0x80 && !(u >= 0xFF61 && u <= 0xFF9F);
}

bool IsBreak(QChar c)
{
    return c == '\t' || c == ' ' || c == '-' || c == '.';
}

QStringList Words(const QString& line)
{
    QStringList words;
    QString word;
    for (QChar c : line) {
        if (IsWide(c)) {
            if (!word.isEmpty())
                words << word;
            words << QString(c);
            word.clear();
            continue;
        }
        word += c;
        if (IsBreak(c)) {
            words << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

QString TrimRight(const QString& text)
{
    int end = static_cast<int>(text.size());
    while (end > 0 && text[end - 1].unicode() <= ' ')
        --end;
    return text.left(end);
}

}  // namespace

QStringList WrapCardText(const QString& text, const QFontMetrics& metrics, int width)
{
    QStringList lines;
    QString normalised = text;
    normalised.replace("\r\n", "\r");
    for (const QString& paragraph : normalised.split('\r')) {
        QString line;
        for (QString word : Words(paragraph)) {
            if (metrics.horizontalAdvance(line + word) <= width) {
                line += word;
                continue;
            }
            if (!line.isEmpty()) {
                lines << TrimRight(line);
                line.clear();
            }
            while (metrics.horizontalAdvance(word) > width && word.size() > 1) {
                int fit = 1;
                while (fit < word.size() && metrics.horizontalAdvance(word.left(fit + 1) + "-") <= width)
                    ++fit;
                const QString piece = word.left(fit);
                lines << TrimRight(IsBreak(piece.back()) ? piece : piece + "-");
                word = word.mid(fit);
            }
            line = word;
        }
        lines << TrimRight(line);
    }
    return lines;
}

}  // namespace olve
