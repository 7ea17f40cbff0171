// The speed of speech: keys and the tool bar's speed button step it in tenths; the lesson
// player takes it at once, a running play included, and this part shows it.
#include "app/main_window.h"

namespace olve {

void TForm1::ShowSpeed()
{
    const QString value = QString::fromStdString(SpeedText(FLesson->SpeedTenths()));
    sbSpeed->setText(value);
    sbSpeed->setToolTip(QString("話す速さ %1 ([ 遅く  ] 速く  \\ 元の速さ)\nSpeed %1 ([ slower  ] faster  \\ normal)")
                            .arg(value));
}

}  // namespace olve
