#include "app/main_window.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>

#include "app/card_grid_delegate.h"
#include "app/tool_bar.h"
#include "storage/card_text.h"
#include "storage/comma_text.h"
#include "storage/cp932_text.h"
#include "storage/rounding.h"
#include "timing/positions.h"
#include "title/shown_card_text.h"

namespace olve {

namespace {

constexpr int FlatMenuLimit = 33;
constexpr int GroupSize = 32;
constexpr int ColumnSize = 1024;
constexpr int MenuCardLimit = 4096;
constexpr std::size_t LabelBytes = 50;

QString StartTimeText(std::uint32_t startPos)
{
    const int seconds = RoundHalfAway(PackedToMilliseconds(startPos) / 1000.0);
    char text[32];
    std::snprintf(text, sizeof text, "%3d:%02d", seconds / 60, seconds % 60);
    return text;
}

// A menu item holds one line: each line break shows as a blank.
std::string OneLine(std::string line)
{
    for (std::size_t at = line.find("\r\n"); at != std::string::npos; at = line.find("\r\n", at + 1))
        line.replace(at, 2, " ");
    return line;
}

// A menu label (UTF-8): at most 50 bytes of the text as code page 932 stores it, cut before
// a two-byte character, with "･･".
std::string MenuLabel(const std::string& text)
{
    const std::size_t cut = StoredPrefixLength(text, LabelBytes);
    return cut == text.size() ? text : text.substr(0, cut) + "･･";
}

}  // namespace

void TForm1::FillCardGrid()
{
    const TUndoPlayCardList& cards = FPackage->MainCards;
    sgCards->setItemDelegate(new TCardGridDelegate(sgCards));
    sgCards->setColumnCount(5);
    sgCards->setRowCount(cards.Count() + 1);
    sgCards->horizontalHeader()->hide();
    const QStringList headers = {"No", "時刻", "話者", "本文", "メモ"};
    for (int c = 0; c < 5; ++c)
        sgCards->setItem(0, c, new QTableWidgetItem(headers[c]));
    bool speakers = false;
    bool memos = false;
    for (int i = 0; i < cards.Count(); ++i) {
        const TPlayCardItem& card = cards.Card(i);
        const std::string speaker = GetTag(card.DataText, "TAG");
        speakers = speakers || !speaker.empty();
        memos = memos || !card.SubText.empty();
        const QStringList texts = {QString::number(i + 1), StartTimeText(card.StartPos),
                                   QString::fromStdString(Cp932ToUtf8(speaker)),
                                   QString::fromStdString(ShownCardText(card)),
                                   QString::fromStdString(Cp932ToUtf8(card.SubText))};
        for (int c = 0; c < 5; ++c)
            sgCards->setItem(i + 1, c, new QTableWidgetItem(texts[c]));
    }
    const QFontMetrics metrics(sgCards->font());
    const int number = metrics.horizontalAdvance("1234") + 10;
    const int time = metrics.horizontalAdvance("123:45") + 10;
    const int speaker = speakers ? 2 * time : 0;
    const int rest = sgCards->viewport()->width() - number - time - speaker - 4;
    sgCards->setColumnWidth(0, number);
    sgCards->setColumnWidth(1, time);
    sgCards->setColumnWidth(2, speaker);
    sgCards->setColumnWidth(3, memos ? rest / 2 : rest);
    sgCards->setColumnWidth(4, memos ? rest / 2 : 0);
    sgCards->resizeRowsToContents();
    disconnect(sgCards, nullptr, this, nullptr);
    connect(sgCards, &QTableWidget::cellClicked, this, [this](int row, int) {
        SelectCardRow(row);
        FToolBar->Actions().Run(TKeyCommand::Stop);
    });
    connect(sgCards, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        SelectCardRow(row);
        FToolBar->Actions().Run(TKeyCommand::Play);
    });
}

void TForm1::SelectCardRow(int row)
{
    if (row < 1 || row >= sgCards->rowCount())
        return;
    sgCards->setCurrentCell(row, 1);
    sgCards->selectRow(row);
    FLesson->SetCurrentCard(row - 1);
    const int first = sgCards->rowAt(0);
    const int last = sgCards->rowAt(sgCards->viewport()->height() - 1);
    if (first >= 0 && (row < first || (last >= 0 && row > last)))
        sgCards->scrollToItem(sgCards->item(row, 0), QAbstractItemView::PositionAtCenter);
}

void TForm1::acPlayListExecute()
{
    pmItemList->popup(FToolBar->CardMenuPlace());
}

void TForm1::PopulateItemList()
{
    pmItemList->clear();
    const int count = FPackage->MainCards.Count();
    if (count == 0)
        return;
    if (count < FlatMenuLimit) {
        for (int i = 0; i < count; ++i)
            FillCardMenuItem(pmItemList->addAction(QString()), i);
        HighlightCurrentCard(pmItemList);
        return;
    }
    const int listed = std::min(count, MenuCardLimit);
    QMenu* group = nullptr;
    for (int i = 0; i < listed; ++i) {
        if (i % GroupSize == 0) {
            char caption[32];
            std::snprintf(caption, sizeof caption, "%3d ～ %3d", i + 1, std::min(listed, i + GroupSize));
            group = pmItemList->addMenu(QString::fromUtf8(caption));
            QAction* groupAction = group->menuAction();
            groupAction->setCheckable(true);
            groupAction->setChecked(i <= FLesson->CurrentCard() && FLesson->CurrentCard() < std::min(listed, i + GroupSize));
            // A new column every 1024 cards: the menu grows sideways as a long list would.
            groupAction->setProperty("barBreak", i > 0 && i % ColumnSize == 0);
        }
        FillCardMenuItem(group->addAction(QString()), i);
    }
    for (QAction* groupAction : pmItemList->actions()) {
        if (!groupAction->isChecked())
            continue;
        pmItemList->setActiveAction(groupAction);
        // A group opened by a key makes its first card active once it shows; the current card
        // takes over after that.
        QMenu* current = groupAction->menu();
        connect(current, &QMenu::aboutToShow, this, [this, current] {
            QTimer::singleShot(0, current, [this, current] { HighlightCurrentCard(current); });
        });
    }
}

// The keys move on from the current card, and Enter plays it again.
void TForm1::HighlightCurrentCard(QMenu* menu)
{
    for (QAction* item : menu->actions())
        if (item->data().toInt() == FLesson->CurrentCard() && item->isChecked())
            menu->setActiveAction(item);
}

void TForm1::FillCardMenuItem(QAction* item, int index)
{
    const TPlayCardItem& card = FPackage->MainCards.Card(index);
    std::string label = OneLine(ShownCardText(card, TCardBreaks::CrLf));
    if (label.empty() && !card.SubText.empty())
        label = "/" + Cp932ToUtf8(card.SubText) + "/";
    if (label.empty()) {
        const std::string extra = GetTag(card.DataText, "EES");
        if (!extra.empty())
            label = "[" + Cp932ToUtf8(extra) + "]";
    }
    char number[16];
    std::snprintf(number, sizeof number, "%3d", index + 1);
    item->setText(QString(number) + "  " + QString::fromStdString(MenuLabel(label)));
    item->setData(index);
    if (index == FLesson->CurrentCard()) {
        item->setCheckable(true);
        item->setChecked(true);
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
    }
    connect(item, &QAction::triggered, this, [this, index] { CardMenuItemClick(index); });
}

void TForm1::CardMenuItemClick(int index)
{
    FLesson->PlayCard(index);
}

// The loop takes the cards chosen in the card list, or else the current card.
void TForm1::ToggleLoop()
{
    const int current = std::max(FLesson->CurrentCard(), 0);
    int first = current;
    int last = current;
    for (const QTableWidgetSelectionRange& range : sgCards->selectedRanges()) {
        if (IsCardList(FDisplayMode) && range.bottomRow() > range.topRow()) {
            first = std::max(range.topRow(), 1) - 1;
            last = range.bottomRow() - 1;
        }
    }
    FLesson->ToggleLoop(first, last);
}

}  // namespace olve
