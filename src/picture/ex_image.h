#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

#include "picture/shift_state.h"

namespace olve {

// The image control inside a picture pane: shows its bitmap at its own size and hands the
// mouse to the pane. Coordinates are the control's own pixels.
class TExImage : public QWidget {
    Q_OBJECT
public:
    explicit TExImage(QWidget* parent);

    // The shown bitmap; draw on it, then update().
    QImage& Bitmap() { return FBitmap; }
    const QImage& Bitmap() const { return FBitmap; }

    std::function<void(Qt::MouseButton, TShiftState, int x, int y)> OnMouseDown;
    std::function<void(Qt::MouseButton, TShiftState, int x, int y)> OnMouseUp;
    // Every mouse move while a button is held, with the buttons and keys held.
    std::function<void(QObject* sender, TShiftState, int x, int y)> DoMouseMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage FBitmap;
};

}  // namespace olve
