#include "app/tool_bar_widgets.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace olve {

TToolBarBackground::TToolBarBackground(QWidget* parent) : QWidget(parent)
{
    setObjectName("imTop");
}

void TToolBarBackground::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(246, 249, 253));
    gradient.setColorAt(1, QColor(206, 221, 240));
    p.fillRect(rect(), gradient);
    p.setPen(QColor(160, 180, 205));
    p.drawLine(0, height() - 1, width(), height() - 1);
}

void TToolBarBackground::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
}

namespace {

constexpr int TrackHeight = 7;

}  // namespace

TProgressBar::TProgressBar(QWidget* parent) : QWidget(parent)
{
    setObjectName("imPlayer");
    setCursor(Qt::PointingHandCursor);
}

void TProgressBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && OnSeek)
        OnSeek(event->position().toPoint().x());
}

void TProgressBar::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && OnSeek)
        OnSeek(event->position().toPoint().x());
}

void TProgressBar::SetBarWidth(int width)
{
    FBarWidth = width;
    update();
}

void TProgressBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0, (height() - TrackHeight) / 2);
    p.setPen(QColor(150, 170, 195));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRoundedRect(QRectF(0.5, 0.5, width() - 1, TrackHeight - 1), 3, 3);
    if (FBarWidth > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(214, 92, 38));
        p.drawRoundedRect(QRectF(1, 2, std::min(FBarWidth, width() - 2), 3), 1.5, 1.5);
    }
}

TPlayingAnimation::TPlayingAnimation(QWidget* parent) : QWidget(parent)
{
    setObjectName("anPlaying");
    // Ten frames a second keep the light moving smoothly enough on a line one pixel high;
    // every frame wakes the program and redraws the tool bar while the learner listens.
    FTimer.setInterval(100);
    connect(&FTimer, &QTimer::timeout, this, [this] {
        FStep = (FStep + 1) % Steps;
        update();
    });
}

void TPlayingAnimation::SetActive(bool active)
{
    if (active == FTimer.isActive())
        return;
    if (active)
        FTimer.start();
    else
        FTimer.stop();
    update();
}

void TPlayingAnimation::paintEvent(QPaintEvent*)
{
    if (!FTimer.isActive())
        return;
    QPainter p(this);
    const int x = width() * FStep / Steps;
    QLinearGradient light(x - 20, 0, x + 20, 0);
    light.setColorAt(0, QColor(214, 92, 38, 0));
    light.setColorAt(0.5, QColor(214, 92, 38));
    light.setColorAt(1, QColor(214, 92, 38, 0));
    p.fillRect(rect(), light);
}

}  // namespace olve
