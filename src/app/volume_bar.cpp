#include "app/volume_bar.h"
#include <QSignalBlocker>
#include <algorithm>
#include "media/wave_volume.h"

namespace olve {

TVolumeBar::TVolumeBar(TOlveMediaPlayer& player, QWidget* parent) : QSlider(Qt::Horizontal, parent), FPlayer(player)
{
    setObjectName("tbVolume");
    setRange(0, 65535);
    setTickInterval(6553);
    setSingleStep(1638);
    setPageStep(6553);
    setTickPosition(QSlider::TicksBelow);
    setFixedSize(160, 28);
    setAutoFillBackground(true);
    hide();
    connect(this, &QSlider::valueChanged, this, &TVolumeBar::SetVolume);
}

void TVolumeBar::SetVolume(int value)
{
    if (GetWaveVolume(FPlayer) != value)
        SetWaveVolume(FPlayer, value);
    // The player may keep a volume of its own steps: the bar shows what it kept.
    if (this->value() != GetWaveVolume(FPlayer))
        setValue(GetWaveVolume(FPlayer));
}

void TVolumeBar::ShowUnder(const QWidget* anchor, int top)
{
    {
        const QSignalBlocker quiet(this);
        setValue(GetWaveVolume(FPlayer));
    }
    const QPoint icon = anchor->mapTo(parentWidget(), QPoint(0, 0));
    const int x = std::min(icon.x() - width() / 2, parentWidget()->width() - width());
    move(std::max(0, x), top);
    show();
    raise();
}

void TVolumeBar::HideAway(const QPoint& globalPos)
{
    if (!isVisible())
        return;
    const QPoint local = parentWidget()->mapFromGlobal(globalPos);
    if (!geometry().adjusted(-50, -25, 50, 25).contains(local))
        hide();
}

}  // namespace olve
