#include "picture/ex_image.h"

#include <QMouseEvent>
#include <QPainter>

namespace olve {

TExImage::TExImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TExImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    painter.drawImage(0, 0, FBitmap);
}

void TExImage::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown) {
        const QPoint p = event->position().toPoint();
        OnMouseDown(event->button(), ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
    }
}

void TExImage::mouseMoveEvent(QMouseEvent* event)
{
    if (DoMouseMove) {
        const QPoint p = event->position().toPoint();
        DoMouseMove(this, ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
    }
}

void TExImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (OnMouseUp) {
        const QPoint p = event->position().toPoint();
        OnMouseUp(event->button(), ShiftStateOf(event->modifiers(), event->buttons()), p.x(), p.y());
    }
}

}  // namespace olve
