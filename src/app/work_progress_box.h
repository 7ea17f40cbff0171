#pragma once
#include <QObject>
#include <QPointer>
#include <functional>

class QProgressDialog;
class QWidget;

namespace olve {

class TCardSync;
class TTitleOpening;

// The box that says what the long work of opening material is doing, while the window
// stays drawn and its event loop runs: it is shown, never run. Its Cancel stops the work,
// and so does a termination signal, which dismisses every box.
class TWorkProgressBox : public QObject {
    Q_OBJECT
public:
    TWorkProgressBox(QWidget* window, TTitleOpening& opening);
    TWorkProgressBox(QWidget* window, TCardSync& sync);
    ~TWorkProgressBox() override;

private:
    void Show(const QString& text, bool cancellable);
    void Percent(int percent);
    void Hide();

    QWidget* FWindow;
    // Stops the work the box stands for.
    std::function<void()> FCancel;
    QPointer<QProgressDialog> FBox;
};

}  // namespace olve
