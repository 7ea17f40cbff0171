#pragma once
#include <QObject>
#include <QPointer>

class QProgressDialog;
class QWidget;

namespace olve {

class TTitleOpening;

// The box that says what the long work of opening material is doing, while the window
// stays drawn and its event loop runs: it is shown, never run. Its Cancel stops the work,
// and so does a termination signal, which dismisses every box.
class TWorkProgressBox : public QObject {
    Q_OBJECT
public:
    TWorkProgressBox(QWidget* window, TTitleOpening& opening);
    ~TWorkProgressBox() override;

private:
    void Show(const QString& text, bool cancellable);
    void Percent(int percent);
    void Hide();

    QWidget* FWindow;
    TTitleOpening& FOpening;
    QPointer<QProgressDialog> FBox;
};

}  // namespace olve
