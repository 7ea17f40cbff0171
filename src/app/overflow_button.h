#pragma once
#include <QList>
#include <QToolButton>
#include <functional>

namespace olve {

// The tool bar's "»" button: its menu holds the controls a narrow window has hidden, each
// running its control, and the volume in place of a hidden speaker.
class TOverflowButton : public QToolButton {
    Q_OBJECT
public:
    // controls: the controls that may overflow, in menu order; speaker: the one among them
    // that is no button; showVolume: what its menu item does.
    TOverflowButton(QWidget* toolBar, QSize size, std::function<QList<QWidget*>()> controls, std::function<void()> showVolume);

private:
    void FillMenu();

    QMenu* FMenu = nullptr;
    std::function<QList<QWidget*>()> FControls;
    std::function<void()> FShowVolume;
};

}  // namespace olve
