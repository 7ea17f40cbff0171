#pragma once
#include <QAction>
#include <QString>
#include <functional>
#include <optional>

#include "lesson/key_commands.h"

namespace olve {

class TLessonPlayer;

// What the lesson's actions ask of the window that holds the cards.
struct TLessonActionCalls {
    // The card chosen in the card list, which "here" plays in place of the current one.
    std::function<std::optional<int>()> ChosenCard;
    // Opens the card menu.
    std::function<void()> ShowCardMenu;
    // Exports the current card to the folder the learner chose.
    std::function<void(const QString& folder)> ExportCard;
};

// The commands that play the lesson, shared by the tool bar's buttons, the keys and desktop
// panels (found by object name). They are enabled while a title is open; the pause and the
// automatic pause show the lesson player's state.
class TLessonActions {
public:
    // owner: the widget the actions belong to; its window parents the export folder dialog.
    TLessonActions(TLessonPlayer& lesson, QWidget* owner, TLessonActionCalls calls);

    void Enable(bool on);
    // Triggers the action a key command names when it is enabled; false for commands that
    // are no action of these.
    bool Run(TKeyCommand command) const;

    QAction* acPlay = nullptr;
    QAction* acNext = nullptr;
    QAction* acBack = nullptr;
    QAction* acTop = nullptr;
    QAction* acStop = nullptr;
    QAction* acPause = nullptr;
    QAction* acAutoPause = nullptr;
    QAction* acPlayList = nullptr;
    QAction* acExportCard = nullptr;

private:
    void ShowAutoPause(bool on);

    TLessonPlayer& FLesson;
    TLessonActionCalls FCalls;
};

}  // namespace olve
