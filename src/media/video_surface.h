#pragma once
#include <QImage>
#include <QWidget>

#include "media/video_frame.h"

namespace olve {

// Shows the video's latest frame, scaled to fill the widget.
class TVideoSurface : public QWidget {
    Q_OBJECT
public:
    explicit TVideoSurface(QWidget* parent);

    void SetFrame(const QImage& frame);
    // Shows the frame's pixels as they are, without copying them.
    void SetFrame(const TVideoFrame& frame);
    const QImage& Frame() const { return FFrame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage FFrame;
};

}  // namespace olve
