#pragma once
#include <QWidget>

namespace olve {

// One underline bar: a blue strip laid over a text view, as a child of the view's parent.
// It takes no mouse input and starts hidden.
class TUnderLine : public QWidget {
    Q_OBJECT
public:
    TUnderLine(const QWidget* owner, QWidget* parent);

    // The view whose underline this bar draws.
    const QWidget* Owner() const { return FOwner; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QWidget* FOwner;
};

}  // namespace olve
