#include "app/practice_buttons.h"

#include <QFont>
#include <algorithm>

#include "lesson/lesson_player.h"

namespace olve {

namespace {

constexpr int PracticeFontPoints = 8;
constexpr int PracticeButtonHeight = 30;

QString RepeatText(int repeats)
{
    return repeats == 0 ? QStringLiteral("∞回") : QStringLiteral("%1回").arg(repeats);
}

QString ShadowText(int tenths)
{
    static const char* const texts[] = {"‖0", "‖½", "‖1", "‖1½", "‖2"};
    return QString::fromUtf8(texts[std::clamp(tenths / 5, 0, 4)]);
}

QString RevealHint(TReveal reveal)
{
    switch (reveal) {
    case TReveal::Shown:
        return QStringLiteral("表示 shown");
    case TReveal::AfterHearing:
        return QStringLiteral("聞いてから表示 shown once heard");
    case TReveal::Hidden:
        break;
    }
    return QStringLiteral("隠す hidden");
}

// The language's glyph with the reveal's mark: plain shown, "?" once heard, struck out hidden.
void ShowReveal(QToolButton* button, const QString& glyph, TReveal reveal, const QString& name, char key)
{
    button->setText(reveal == TReveal::AfterHearing ? glyph + "?" : glyph);
    QFont font = button->font();
    font.setStrikeOut(reveal == TReveal::Hidden);
    button->setFont(font);
    button->setToolTip(QStringLiteral("%1: %2 [%3]").arg(name, RevealHint(reveal)).arg(QChar(key)));
}

}  // namespace

TPracticeButtons::TPracticeButtons(QWidget* toolBar, TLessonPlayer& lesson, const std::function<void()>& toggleLoop)
    : FLesson(lesson)
{
    auto make = [toolBar](QToolButton*& b, const char* name, int width, const std::function<void()>& step) {
        b = new QToolButton(toolBar);
        b->setObjectName(name);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(width, PracticeButtonHeight);
        QFont small = b->font();
        small.setPointSize(PracticeFontPoints);
        b->setFont(small);
        QObject::connect(b, &QToolButton::clicked, b, step);
    };
    make(sbRepeat, "sbRepeat", 28, [&lesson] { lesson.StepRepeats(); });
    make(sbShadow, "sbShadow", 30, [&lesson] { lesson.StepShadowing(); });
    make(sbRevealEnglish, "sbRevealEnglish", 24, [&lesson] { lesson.StepEnglishReveal(); });
    make(sbRevealJapanese, "sbRevealJapanese", 24, [&lesson] { lesson.StepJapaneseReveal(); });
    make(sbLoop, "sbLoop", 24, toggleLoop);
    sbLoop->setText(QStringLiteral("↺"));
    sbLoop->setCheckable(true);
    Show();
}

void TPracticeButtons::Show()
{
    const TPracticeSettings& practice = FLesson.Practice();
    sbRepeat->setText(RepeatText(practice.Repeats));
    sbRepeat->setToolTip(practice.Repeats == 0
                             ? QStringLiteral("くり返し: 止めるまで [R]\nRepeat each card until stopped [R]")
                             : QStringLiteral("くり返し: %1 回 [R]\nRepeat each card %1 time(s) [R]").arg(practice.Repeats));
    const QString factor = QString::number(practice.ShadowTenths / 10.0);
    sbShadow->setText(ShadowText(practice.ShadowTenths));
    sbShadow->setToolTip(
        practice.ShadowTenths == 0
            ? QStringLiteral("シャドーイングの間: なし [W]\nShadowing pause: off [W]")
            : QStringLiteral("シャドーイングの間: カードの長さ × %1 [W]\nShadowing pause: the card's length × %1, then on [W]")
                  .arg(factor));
    ShowReveal(sbRevealEnglish, QStringLiteral("英"), practice.English, QStringLiteral("英文 English"), 'E');
    ShowReveal(sbRevealJapanese, QStringLiteral("訳"), practice.Japanese, QStringLiteral("訳 Japanese"), 'J');
    sbLoop->setChecked(practice.Loop);
    sbLoop->setToolTip(practice.Loop ? QStringLiteral("ループ: カード %1–%2 [O]\nLoop cards %1–%2 until stopped [O]")
                                            .arg(FLesson.Run().LoopFirst() + 1)
                                            .arg(FLesson.Run().LoopLast() + 1)
                                      : QStringLiteral("ループ: なし [O]\nLoop: off [O]"));
}

}  // namespace olve
