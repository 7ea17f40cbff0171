#pragma once
#include <QSlider>

namespace olve {

class TOlveMediaPlayer;

// The volume slider that drops below the tool bar's speaker: it shows the player's volume
// and sets it as it moves.
class TVolumeBar : public QSlider {
    Q_OBJECT
public:
    TVolumeBar(TOlveMediaPlayer& player, QWidget* parent);

    // Shows the player's volume centred under anchor (kept inside the parent), top pixels
    // down; showing changes no volume.
    void ShowUnder(const QWidget* anchor, int top);
    // Hides the bar once the pointer has left it and the margin around it.
    void HideAway(const QPoint& globalPos);

private:
    void SetVolume(int value);

    TOlveMediaPlayer& FPlayer;
};

}  // namespace olve
