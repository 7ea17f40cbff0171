#include "app/fading_notice.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>

namespace olve {

TFadingNotice::TFadingNotice(QWidget* parent) : QLabel(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignCenter);
    // A notice may quote a title's name: never read as markup.
    setTextFormat(Qt::PlainText);
    setStyleSheet("background: rgba(40, 40, 40, 215); color: white; border-radius: 10px; padding: 14px 28px;");
    QFont large = font();
    large.setPointSize(large.pointSize() + 5);
    setFont(large);
    FOpacity = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(FOpacity);
    FFade = new QPropertyAnimation(FOpacity, "opacity", this);
    FFade->setDuration(FadeMs);
    FFade->setStartValue(1.0);
    FFade->setEndValue(0.0);
    connect(FFade, &QPropertyAnimation::finished, this, &QWidget::hide);
    FHold.setSingleShot(true);
    FHold.setInterval(ShownMs);
    connect(&FHold, &QTimer::timeout, FFade, [this] { FFade->start(); });
    hide();
}

void TFadingNotice::Show(const QString& text)
{
    FFade->stop();
    FOpacity->setOpacity(1.0);
    setText(text);
    adjustSize();
    const QWidget* window = parentWidget();
    move((window->width() - width()) / 2, (window->height() - height()) / 2);
    show();
    raise();
    FHold.start();
}

void ShowFadingNotice(QWidget* window, const QString& name, const QString& text)
{
    auto* notice = window->findChild<TFadingNotice*>(name, Qt::FindDirectChildrenOnly);
    if (!notice) {
        notice = new TFadingNotice(window);
        notice->setObjectName(name);
    }
    notice->Show(text);
}

}  // namespace olve
