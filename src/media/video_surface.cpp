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

void TVideoSurface::SetFrame(const TVideoFrame& frame)
{
    if (frame.IsNull()) {
        SetFrame(QImage());
        return;
    }
    // The image shares the frame's bytes and holds them until it goes.
    auto* pixels = new QByteArray(frame.Pixels);
    SetFrame(QImage(reinterpret_cast<const uchar*>(pixels->constData()), frame.Width, frame.Height, frame.Stride,
                    QImage::Format_RGB32, [](void* bytes) { delete static_cast<QByteArray*>(bytes); }, pixels));
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
