#include "app/place_labels.h"

#include <QFontMetrics>
#include <algorithm>
#include <utility>

namespace olve {

namespace {

constexpr int PlaceGap = 8;
constexpr int PlacePoints = 9;

// The same text with every digit as wide as the widest.
QString WidestDigits(QString text)
{
    for (QChar& c : text)
        if (c.isDigit())
            c = '8';
    return text;
}

}  // namespace

TPlaceLabels::TPlaceLabels(QWidget* toolBar)
{
    for (auto [label, name] : {std::pair{&FCounter, "lbCounter"}, std::pair{&FTime, "lbTime"}}) {
        *label = new QLabel(toolBar);
        (*label)->setObjectName(name);
        QFont font = (*label)->font();
        font.setPointSize(PlacePoints);
        (*label)->setFont(font);
        (*label)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        (*label)->setAttribute(Qt::WA_TransparentForMouseEvents);
        (*label)->setFixedWidth(0);
    }
    FCounter->setToolTip("カード cards");
}

bool TPlaceLabels::Show(QLabel* label, const std::string& text)
{
    const QString shown = QString::fromStdString(text);
    if (label->text() == shown)
        return false;
    label->setText(shown);
    return true;
}

bool TPlaceLabels::Fit()
{
    // Both are sized before either is laid out.
    const bool counter = FitLabel(FCounter);
    return FitLabel(FTime) || counter;
}

bool TPlaceLabels::FitLabel(QLabel* label)
{
    const int width = std::max(WidthOf(label, label->text().toStdString()) - PlaceGap, 0);
    if (label->maximumWidth() == width)
        return false;
    label->setFixedWidth(width);
    return true;
}

int TPlaceLabels::Width(const QLabel* label)
{
    return label->text().isEmpty() || label->maximumWidth() == 0 ? 0 : label->maximumWidth() + PlaceGap;
}

int TPlaceLabels::WidthOf(const QLabel* label, const std::string& text)
{
    const QString widest = WidestDigits(QString::fromStdString(text));
    return widest.isEmpty() ? 0 : label->fontMetrics().horizontalAdvance(widest) + 2 + PlaceGap;
}

int TPlaceLabels::LayOut(int x, bool counter, bool time)
{
    for (auto [label, shown] : {std::pair{FCounter, counter}, std::pair{FTime, time}}) {
        label->setVisible(shown && Width(label) > 0);
        if (!label->isVisibleTo(label->parentWidget()))
            continue;
        label->setGeometry(x + PlaceGap, 2, label->maximumWidth(), 30);
        x += Width(label);
    }
    return x;
}

}  // namespace olve
