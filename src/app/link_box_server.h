#pragma once
#include <QLocalServer>
#include <QPointer>

#include "app/link_box.h"

namespace olve {

// Answers other starts of the program on the user's private socket: tells them the
// window's caption and the box's text, hands a handed-over path to the box, which passes it
// on as it is, brings the window forward.
class TLinkBoxServer : public QObject {
    Q_OBJECT
public:
    TLinkBoxServer(QWidget* window, const QString& windowClassName, TLinkBox* box, QObject* parent);

    // Listens on the socket path, replacing a socket left by an instance of this user that
    // died (the caller holds the instance lock, so no live instance owns it). Whatever
    // another user left there stays, and nothing listens.
    bool Listen(const QString& socketPath);

private:
    void Accept();
    void Serve(QLocalSocket* socket);
    void RaiseWindow();

    QPointer<QWidget> FWindow;
    QString FWindowClassName;
    QPointer<TLinkBox> FBox;
    QLocalServer FServer;
};

}  // namespace olve
