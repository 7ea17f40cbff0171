#pragma once
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "titlemaker/card_export.h"

class QAction;
class QMenu;
class QTableWidget;
class QWidget;

namespace olve {

class TLessonPlayer;
class TPlayCardList;
class TPrompts;

// The open title's cards to choose from: the card list that the list modes show in the text
// pane (its current row follows the lesson's current card), the pinpoint menu under the card
// menu button, and the export of a card.
class TCardList : public QObject {
    Q_OBJECT
public:
    // window: the menu's, dialogs' and notices' window; pane: where the list shows;
    // menuPlace: where the menu drops from, in global coordinates.
    TCardList(QWidget* window, QWidget* pane, std::function<QPoint()> menuPlace, TLessonPlayer& lesson, TPrompts& prompts);

    // The cards of the title that opened (not owned; they outlive the next Open), where its
    // clips and pictures are read from, and its name as the caption shows it (UTF-8).
    void Open(const TPlayCardList& cards, TCardSource source, std::string titleName);
    // The list shows in the text pane (the list modes) or not.
    void ShowList(bool on);
    bool Listed() const;

    void FillCardGrid();
    // Row 1 is the first card; the lesson's current card becomes the row's.
    void SelectCardRow(int row);
    void PopulateItemList();
    void PopUp();

    // The card chosen in the list for a play; none outside the list modes.
    std::optional<int> ChosenCard() const;
    // Loops the cards chosen in the list, or else the current card.
    void ToggleLoop();
    // Card index as a clip, its picture and one more line of <folder>/cards.tsv; false, after
    // telling the user why, when it was not written.
    bool ExportCard(int index, const QString& folder);

    QTableWidget* Grid() const { return sgCards; }
    QMenu* ItemList() const { return pmItemList; }

Q_SIGNALS:
    // A row was clicked (stops the play) or double-clicked (plays its card).
    void RowClicked();
    void RowDoubleClicked();

private:
    void FillCardMenuItem(QAction* item, int index);
    void HighlightCurrentCard(QMenu* menu);
    int Count() const;

    QWidget* FWindow;
    std::function<QPoint()> FMenuPlace;
    TLessonPlayer& FLesson;
    TPrompts& FPrompts;
    const TPlayCardList* FCards = nullptr;
    TCardSource FSource;
    std::string FTitleName;
    QTableWidget* sgCards = nullptr;
    QMenu* pmItemList = nullptr;
};

}  // namespace olve
