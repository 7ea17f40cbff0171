#include "textview/under_line.h"

#include <QPainter>

namespace olve {

TUnderLine::TUnderLine(const QWidget* owner, QWidget* parent) : QWidget(parent), FOwner(owner)
{
    setEnabled(false);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
    raise();
}

void TUnderLine::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), QColor(0, 0, 255));
}

}  // namespace olve
