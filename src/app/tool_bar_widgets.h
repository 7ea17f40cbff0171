#pragma once
#include <QTimer>
#include <QWidget>
#include <functional>

namespace olve {

// The tool bar's background: a soft gradient; pressing on it drags the window.
class TToolBarBackground : public QWidget {
    Q_OBJECT
public:
    explicit TToolBarBackground(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

// The progress track with the bar drawn over it. Pressing or dragging on it seeks: the
// widget is taller than the track it draws, so that it is easy to hit.
class TProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit TProgressBar(QWidget* parent);
    void SetBarWidth(int width);
    int BarWidth() const { return FBarWidth; }

    // Called with the point pressed or dragged to, from the track's left end.
    std::function<void(int x)> OnSeek;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int FBarWidth = 0;
};

// A thin light that runs along the progress track while media plays.
class TPlayingAnimation : public QWidget {
    Q_OBJECT
public:
    explicit TPlayingAnimation(QWidget* parent);
    void SetActive(bool active);
    bool Active() const { return FTimer.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer FTimer;
    // One sweep over the bar lasts Steps frames.
    static constexpr int Steps = 24;
    int FStep = 0;
};

}  // namespace olve
