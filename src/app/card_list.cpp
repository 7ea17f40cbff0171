#include "app/card_list.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>

#include "app/card_grid_delegate.h"
#include "app/fading_notice.h"
#include "lesson/lesson_player.h"
#include "codec/comma_text.h"
#include "codec/cp932_text.h"
#include "files/prompts.h"
#include "codec/rounding.h"
#include "timing/positions.h"
#include "title/card_menu.h"
#include "title/shown_card_text.h"
#include "titlemaker/single_card_export.h"

namespace olve {

namespace {

QString StartTimeText(std::uint32_t startPos)
{
    const int seconds = RoundHalfAway(PackedToMilliseconds(startPos) / 1000.0);
    char text[32];
    std::snprintf(text, sizeof text, "%3d:%02d", seconds / 60, seconds % 60);
    return text;
}

}  // namespace

TCardList::TCardList(QWidget* window, QWidget* pane, std::function<QPoint()> menuPlace, TLessonPlayer& lesson,
                     TPrompts& prompts)
    : QObject(window), FWindow(window), FMenuPlace(std::move(menuPlace)), FLesson(lesson), FPrompts(prompts)
{
    sgCards = new QTableWidget(pane);
    sgCards->setObjectName("sgCards");
    sgCards->setColumnCount(5);
    sgCards->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A range of cards can be chosen for the loop.
    sgCards->setSelectionMode(QAbstractItemView::ContiguousSelection);
    sgCards->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgCards->verticalHeader()->hide();
    sgCards->hide();
    connect(sgCards, &QTableWidget::cellClicked, this, [this](int row, int) {
        SelectCardRow(row);
        Q_EMIT RowClicked();
    });
    connect(sgCards, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        SelectCardRow(row);
        Q_EMIT RowDoubleClicked();
    });

    pmItemList = new QMenu(window);
    pmItemList->setObjectName("pmItemList");
    connect(pmItemList, &QMenu::aboutToShow, this, &TCardList::PopulateItemList);

    connect(&lesson, &TLessonPlayer::CardShown, this, [this](int card, std::int64_t, bool changed) {
        if (changed && Listed())
            SelectCardRow(card + 1);
    });
}

void TCardList::Open(const TPlayCardList& cards, TCardSource source, std::string titleName)
{
    FCards = &cards;
    FSource = std::move(source);
    FTitleName = std::move(titleName);
    sgCards->setRowCount(Count() + 1);
}

int TCardList::Count() const
{
    return FCards ? FCards->Count() : 0;
}

void TCardList::ShowList(bool on)
{
    sgCards->setVisible(on);
    sgCards->setRowCount(on ? Count() + 1 : 1);
}

bool TCardList::Listed() const
{
    return !sgCards->isHidden();
}

void TCardList::FillCardGrid()
{
    sgCards->setItemDelegate(new TCardGridDelegate(sgCards));
    sgCards->setColumnCount(5);
    sgCards->setRowCount(Count() + 1);
    sgCards->horizontalHeader()->hide();
    const QStringList headers = {"No", "時刻", "話者", "本文", "メモ"};
    for (int c = 0; c < 5; ++c)
        sgCards->setItem(0, c, new QTableWidgetItem(headers[c]));
    bool speakers = false;
    bool memos = false;
    for (int i = 0; i < Count(); ++i) {
        const TPlayCardItem& card = FCards->Card(i);
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
}

void TCardList::SelectCardRow(int row)
{
    if (row < 1 || row >= sgCards->rowCount())
        return;
    sgCards->setCurrentCell(row, 1);
    sgCards->selectRow(row);
    FLesson.SetCurrentCard(row - 1);
    const int first = sgCards->rowAt(0);
    const int last = sgCards->rowAt(sgCards->viewport()->height() - 1);
    if (first >= 0 && (row < first || (last >= 0 && row > last)))
        sgCards->scrollToItem(sgCards->item(row, 0), QAbstractItemView::PositionAtCenter);
}

void TCardList::PopUp()
{
    pmItemList->popup(FMenuPlace());
}

void TCardList::PopulateItemList()
{
    pmItemList->clear();
    const int count = Count();
    if (count == 0)
        return;
    const std::vector<TCardMenuGroup> groups = CardMenuGroups(count);
    if (groups.empty()) {
        for (int i = 0; i < count; ++i)
            FillCardMenuItem(pmItemList->addAction(QString()), i);
        HighlightCurrentCard(pmItemList);
        return;
    }
    const int current = CardMenuGroupOf(groups, FLesson.CurrentCard());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        QMenu* group = pmItemList->addMenu(QString::fromStdString(groups[g].Caption));
        QAction* groupAction = group->menuAction();
        groupAction->setCheckable(true);
        groupAction->setChecked(static_cast<int>(g) == current);
        groupAction->setProperty("barBreak", groups[g].NewColumn);
        for (int i = groups[g].First; i <= groups[g].Last; ++i)
            FillCardMenuItem(group->addAction(QString()), i);
    }
    if (current < 0)
        return;
    QAction* groupAction = pmItemList->actions()[current];
    pmItemList->setActiveAction(groupAction);
    // A group opened by a key makes its first card active once it shows; the current card
    // takes over after that.
    QMenu* menu = groupAction->menu();
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        QTimer::singleShot(0, menu, [this, menu] { HighlightCurrentCard(menu); });
    });
}

// The keys move on from the current card, and Enter plays it again.
void TCardList::HighlightCurrentCard(QMenu* menu)
{
    for (QAction* item : menu->actions())
        if (item->data().toInt() == FLesson.CurrentCard() && item->isChecked())
            menu->setActiveAction(item);
}

void TCardList::FillCardMenuItem(QAction* item, int index)
{
    item->setText(QString::fromStdString(CardMenuLabel(FCards->Card(index), index)));
    item->setData(index);
    if (index == FLesson.CurrentCard()) {
        item->setCheckable(true);
        item->setChecked(true);
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
    }
    connect(item, &QAction::triggered, this, [this, index] { FLesson.PlayCard(index); });
}

std::optional<int> TCardList::ChosenCard() const
{
    const int row = sgCards->currentRow();
    if (Listed() && row > 0 && row <= Count())
        return row - 1;
    return std::nullopt;
}

void TCardList::ToggleLoop()
{
    std::vector<TCardRange> chosen;
    if (Listed())
        for (const QTableWidgetSelectionRange& range : sgCards->selectedRanges())
            chosen.push_back({range.topRow(), range.bottomRow()});
    const TCardRange cards = LoopCards(FLesson.CurrentCard(), chosen);
    FLesson.ToggleLoop(cards.First, cards.Last);
}

bool TCardList::ExportCard(int index, const QString& folder)
{
    if (!FCards)
        return false;
    const TSingleCardExport exported = ExportSingleCard(*FCards, index, FTitleName, FSource, folder.toStdString());
    if (exported.Failure)
        FPrompts.Message(BilingualText(*exported.Failure));
    if (!exported.Written)
        return false;
    QString notice = QStringLiteral("書き出しました  Exported: ") + QString::fromStdString(exported.Clip);
    for (const std::string& note : exported.Notes)
        notice += "\n" + QString::fromStdString(note);
    ShowFadingNotice(FWindow, "ExportNotice", notice);
    return true;
}

}  // namespace olve
