#pragma once
#include <QWidget>

class QLabel;
class QProgressBar;

namespace olve {

// A small window on top of everything that shows how far a long copy has come.
class TProgressWindow : public QWidget {
    Q_OBJECT
public:
    TProgressWindow(const QString& caption, int maximum, QWidget* parent = nullptr);

    // Advances the bar by one, back to 0 after the maximum, and shows it at once.
    void Step();

    QProgressBar* Bar() const { return pbProgress; }

private:
    QLabel* lbMessage = nullptr;
    QProgressBar* pbProgress = nullptr;
};

}  // namespace olve
