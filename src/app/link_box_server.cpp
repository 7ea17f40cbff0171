#include "app/link_box_server.h"

#include <QLocalSocket>
#include <QWidget>

#include "app/hand_over_protocol.h"
#include "app/private_folder.h"

namespace olve {

TLinkBoxServer::TLinkBoxServer(QWidget* window, const QString& windowClassName, TLinkBox* box, QObject* parent)
    : QObject(parent), FWindow(window), FWindowClassName(windowClassName), FBox(box)
{
    FServer.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&FServer, &QLocalServer::newConnection, this, &TLinkBoxServer::Accept);
}

bool TLinkBoxServer::Listen(const QString& socketPath)
{
    if (!ForeignFileRefusal(socketPath).empty())
        return false;
    QLocalServer::removeServer(socketPath);
    return FServer.listen(socketPath);
}

void TLinkBoxServer::Accept()
{
    while (QLocalSocket* socket = FServer.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Serve(socket); });
        Serve(socket);
    }
}

void TLinkBoxServer::Serve(QLocalSocket* socket)
{
    // The window opens a handed-over path after this reply; whatever else a slot on the box
    // or the window does may still run an event loop, in which the sender can go away and
    // its socket be deleted.
    const QPointer<QLocalSocket> alive(socket);
    THandOverRequest request;
    TReadStatus status;
    while ((status = ReadRequest(*socket, request)) == TReadStatus::Complete) {
        if (request.Command == THandOverCommand::SetText && FBox)
            FBox->HandOver(request.Argument);
        else if (request.Command == THandOverCommand::Raise)
            RaiseWindow();
        if (!alive)
            return;

        THandOverReply reply;
        reply.ClassName = FWindowClassName;
        reply.Caption = FWindow ? FWindow->windowTitle() : QString();
        reply.HasBox = !FBox.isNull();
        reply.BoxText = FBox ? FBox->text() : QString();
        WriteReply(*socket, reply);
        socket->flush();
    }
    if (status == TReadStatus::Malformed)
        socket->disconnectFromServer();
}

void TLinkBoxServer::RaiseWindow()
{
    if (!FWindow)
        return;
    if (FWindow->isMinimized())
        FWindow->showNormal();
    FWindow->raise();
    FWindow->activateWindow();
}

}  // namespace olve
