#pragma once
#include <QLineEdit>

namespace olve {

// The hidden edit box through which another start of the program hands over a path. Its
// text is "busy" while the window is not ready, empty once it is, and the handed-over path
// after a hand-over.
class TLinkBox : public QLineEdit {
    Q_OBJECT
public:
    static constexpr const char* Busy = "busy";

    explicit TLinkBox(QWidget* parent);

    // Sets the text as a hand-over does: the change is announced even when the same path
    // is handed over twice, so each hand-over is acted on.
    void HandOver(const QString& text);

Q_SIGNALS:
    void Changed();
};

}  // namespace olve
