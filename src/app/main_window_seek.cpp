#include <QLabel>
#include <algorithm>

#include "app/main_window.h"
#include "app/tool_bar_widgets.h"
#include "timing/place_text.h"
#include "title/card_seek.h"

namespace olve {

namespace {

constexpr int PlaceGap = 8;
constexpr int PlacePoints = 9;

// The same text with every digit as wide as the widest, so that the label keeps one width
// while the numbers change.
QString WidestDigits(QString text)
{
    for (QChar& c : text)
        if (c.isDigit())
            c = '8';
    return text;
}

// True when the text changed.
bool ShowText(QLabel* label, const std::string& text)
{
    const QString shown = QString::fromStdString(text);
    if (label->text() == shown)
        return false;
    label->setText(shown);
    return true;
}

}  // namespace

void TForm1::CreatePlaceLabels()
{
    for (auto [label, name] : {std::pair{&lbCounter, "lbCounter"}, std::pair{&lbTime, "lbTime"}}) {
        *label = new QLabel(pnToolBar);
        (*label)->setObjectName(name);
        QFont font = (*label)->font();
        font.setPointSize(PlacePoints);
        (*label)->setFont(font);
        (*label)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        (*label)->setAttribute(Qt::WA_TransparentForMouseEvents);
        (*label)->setFixedWidth(0);
    }
    lbCounter->setToolTip("カード cards");
    imPlayer->OnSeek = [this](int x) {
        if (CanPlay())
            SeekTo(PositionAtX(x, imPlayer->width(), Player().Length()));
    };
}

void TForm1::ShowPlace(std::int64_t position)
{
    const std::int64_t length = Player().DeviceID() != 0 ? Player().Length() : 0;
    const bool time = ShowText(lbTime, length > 0 ? PlaceTimeText(position, length) : std::string());
    if (ShowCounter() || time)
        FitPlaceLabels();
}

void TForm1::FitPlaceLabels()
{
    // Both are sized before either is laid out.
    const bool counter = FitPlaceLabel(lbCounter);
    if (FitPlaceLabel(lbTime) || counter)
        LayOutToolBar();
}

// True when the label's width had to change: as wide as its text with the widest digits.
bool TForm1::FitPlaceLabel(QLabel* label)
{
    const int width = std::max(PlaceWidthOf(label, label->text().toStdString()) - PlaceGap, 0);
    if (label->maximumWidth() == width)
        return false;
    label->setFixedWidth(width);
    return true;
}

bool TForm1::ShowCounter()
{
    const int count = FPackage ? FPackage->MainCards.Count() : 0;
    return ShowText(lbCounter, Player().DeviceID() != 0 ? CardCounterText(CurrentCard(), count) : std::string());
}

int TForm1::PlaceWidth(const QLabel* label) const
{
    return label->text().isEmpty() || label->maximumWidth() == 0 ? 0 : label->maximumWidth() + PlaceGap;
}

int TForm1::PlaceWidthOf(const QLabel* label, const std::string& text) const
{
    const QString widest = WidestDigits(QString::fromStdString(text));
    return widest.isEmpty() ? 0 : label->fontMetrics().horizontalAdvance(widest) + 2 + PlaceGap;
}

int TForm1::LayOutPlace(int x, bool counter, bool time)
{
    for (auto [label, shown] : {std::pair{lbCounter, counter}, std::pair{lbTime, time}}) {
        label->setVisible(shown && PlaceWidth(label) > 0);
        if (!label->isVisibleTo(pnToolBar))
            continue;
        label->setGeometry(x + PlaceGap, 2, label->maximumWidth(), 30);
        x += PlaceWidth(label);
    }
    return x;
}

}  // namespace olve
