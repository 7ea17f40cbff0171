// The speed of speech: keys and the tool bar's speed button step it in tenths, and the
// player takes it at once, a running play included.
#include "app/main_window.h"

namespace olve {

void TForm1::SetSpeedTenths(int tenths)
{
    FSpeedTenths = ClampSpeedTenths(tenths);
    FPlayer->SetSpeed(SpeedFactor(FSpeedTenths));
    ShowSpeed();
    // The timer slept for the old speed.
    if (tmPlayer->isActive())
        PlayerTick();
}

void TForm1::ShowSpeed()
{
    const QString value = QString::fromStdString(SpeedText(FSpeedTenths));
    sbSpeed->setText(value);
    sbSpeed->setToolTip(QString("話す速さ %1 ([ 遅く  ] 速く  \\ 元の速さ)\nSpeed %1 ([ slower  ] faster  \\ normal)")
                            .arg(value));
}

}  // namespace olve
