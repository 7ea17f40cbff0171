#pragma once
#include <QLabel>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/lesson_actions.h"
#include "title/tool_bar_plan.h"

namespace olve {

class TLessonPlayer;
class TPlaceLabels;
class TPracticeButtons;
class TPlayingAnimation;
class TProgressBar;
class TVolumeBar;
class TOverflowButton;

// What the tool bar asks of the window.
struct TToolBarCalls {
    TLessonActionCalls Actions;
    // Turns the loop on or off over the cards the window has chosen.
    std::function<void()> ToggleLoop;
    std::function<void()> Open;
    std::function<void()> Help;
};

// The bar along the window's top: the play buttons, the speaker with its volume bar, the
// progress bar that seeks when clicked, speed and practice, the card counter and the time.
// It follows the lesson player by itself; a narrow window moves what has no room into the
// overflow menu.
class TToolBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 33;

    // window: the bar's parent, which the volume bar drops into.
    TToolBar(TLessonPlayer& lesson, TToolBarCalls calls, QWidget* window);
    ~TToolBar() override;

    // Spans width at the window's top and places the controls that have room.
    void LayOut(int width);
    // The width that shows every control with the open title's longest counter and time.
    int FullWidth() const;
    TLessonActions& Actions() { return FActions; }
    void EnablePlayControls(bool on);
    void ShowProgress(std::int64_t position);
    int ProgressWidth() const;
    // Where the card menu drops from, in global coordinates.
    QPoint CardMenuPlace() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateButtons();
    void CreateSpeed();
    void CreateSpeaker();
    void CreateProgress();
    void CreateMotto();
    void FollowLesson();
    // The controls that may go into the overflow menu, in the order of TToolControl.
    std::array<QWidget*, ToolControlCount> ToolControls() const;
    TToolBarWidths ToolBarWidths(int counter, int time) const;
    int LayOutLeft(const TToolBarPlan& plan);
    int LayOutRight();
    void ShowSpeed();
    void ShowVolumeBar();
    void ShowPlace(std::int64_t position);
    bool ShowCounter();
    void FitPlaceLabels();

    TLessonPlayer& FLesson;
    TToolBarCalls FCalls;
    TLessonActions FActions;
    QWidget* imTop = nullptr;
    QToolButton* sbPlayTop = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* sbItemList = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* sbPause = nullptr;
    QToolButton* sbAutoPause = nullptr;
    QToolButton* sbOnlineHelp = nullptr;
    QToolButton* sbOpen = nullptr;
    QToolButton* sbSpeed = nullptr;
    std::unique_ptr<TPracticeButtons> FPracticeButtons;
    QLabel* Image3 = nullptr;
    TProgressBar* imPlayer = nullptr;
    std::unique_ptr<TPlaceLabels> FPlace;
    TPlayingAnimation* anPlaying = nullptr;
    QLabel* lbPAT1 = nullptr;
    QLabel* lbPAT2 = nullptr;
    TOverflowButton* sbOverflow = nullptr;
    TVolumeBar* tbVolume = nullptr;
    int FLastProgressWidth = -1;
};

}  // namespace olve
