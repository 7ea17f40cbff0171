#pragma once
#include <QWidget>
#include <functional>

namespace olve {

// The bar between the English and the Japanese text: dragging it moves it up or down.
class TPaneDivider : public QWidget {
    Q_OBJECT
public:
    explicit TPaneDivider(QWidget* parent);

    // Called while the divider is dragged, with the pointer's height in the parent.
    std::function<void(int y)> OnDrag;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace olve
