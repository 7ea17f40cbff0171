#pragma once
#include <QLabel>
#include <QTimer>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace olve {

// A short word shown over the middle of a window that fades away by itself: it asks for
// nothing, takes no click and no key, and playing on is never held up by it.
class TFadingNotice : public QLabel {
    Q_OBJECT
public:
    static constexpr int ShownMs = 1500;
    static constexpr int FadeMs = 500;

    explicit TFadingNotice(QWidget* parent);
    // Shows the text afresh, fully visible, even when an earlier one is still fading.
    void Show(const QString& text);

private:
    QGraphicsOpacityEffect* FOpacity = nullptr;
    QPropertyAnimation* FFade = nullptr;
    QTimer FHold;
};

// Shows text in the window's notice of that name, made on first use.
void ShowFadingNotice(QWidget* window, const QString& name, const QString& text);

}  // namespace olve
