#include "media/video_surface.h"

#include <QPainter>

namespace olve {

TVideoSurface::TVideoSurface(QWidget* parent) : QWidget(parent)
{
    setObjectName("VideoSurface");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TVideoSurface::SetFrame(const QImage& frame)
{
    FFrame = frame;
    update();
}

void TVideoSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (FFrame.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), FFrame);
}

}  // namespace olve
