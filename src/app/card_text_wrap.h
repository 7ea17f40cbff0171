#pragma once
#include <QFontMetrics>
#include <QString>
#include <QStringList>

namespace olve {

// Wraps a card text to a width in pixels: a word is a run of one-byte characters ending
// with a tab, space, "-" or ".", or before the next two-byte character, and every two-byte
// character is a word of its own. A word wider than a line is cut after the last character
// that fits, with "-" added unless that character breaks words anyway. A carriage return
// ends a line. Lines are trimmed at their right end.
QStringList WrapCardText(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace olve
