#pragma once
#include <QFont>
#include <QString>
#include <QStringList>

namespace olve {

// Wraps a card text to a width in pixels where Qt's line breaker allows a break: between
// English words, between Japanese characters but never before closing punctuation such as
// "。" or "、" nor after an opening bracket, and anywhere in a word wider than a line. A
// carriage return ends a line. Lines are trimmed at their right end.
QStringList WrapCardText(const QString& text, const QFont& font, int width);

}  // namespace olve
