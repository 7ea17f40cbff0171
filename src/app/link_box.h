#pragma once
#include <QObject>
#include <QString>

namespace olve {

// Where another start of the program hands over a path. Its text, which other starts read,
// is "busy" while the window is not ready, empty once it is, and the handed-over path after
// a hand-over; the path itself goes to the window as it is, never read back from the text.
class TLinkBox : public QObject {
    Q_OBJECT
public:
    static constexpr const char* Busy = "busy";

    explicit TLinkBox(QObject* parent);

    const QString& text() const { return FText; }
    void setText(const QString& text) { FText = text; }

    // Takes a hand-over: announced each time, even when the same path comes twice.
    void HandOver(const QString& path);

Q_SIGNALS:
    void HandedOver(const QString& path);

private:
    QString FText;
};

}  // namespace olve
