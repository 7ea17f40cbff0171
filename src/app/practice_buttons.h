#pragma once
#include <QToolButton>
#include <functional>

namespace olve {

class TLessonPlayer;

// The tool bar's practice controls: repeats, the shadowing pause, when each language's text
// shows, and the loop. Each click steps the lesson player's practice; Show draws it.
class TPracticeButtons {
public:
    // toggleLoop: turns the loop on or off over the cards the window has chosen.
    TPracticeButtons(QWidget* toolBar, TLessonPlayer& lesson, const std::function<void()>& toggleLoop);

    void Show();

    QToolButton* sbRepeat = nullptr;
    QToolButton* sbShadow = nullptr;
    QToolButton* sbRevealEnglish = nullptr;
    QToolButton* sbRevealJapanese = nullptr;
    QToolButton* sbLoop = nullptr;

private:
    TLessonPlayer& FLesson;
};

}  // namespace olve
