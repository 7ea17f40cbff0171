#include "app/send_to_running_instance.h"

#include <QLocalSocket>
#include <algorithm>

namespace olve {

namespace {

constexpr int ConnectMs = 2000;
constexpr int ReplyMs = 5000;

std::optional<THandOverReply> Ask(QLocalSocket& socket, const THandOverRequest& request, int timeoutMs)
{
    WriteRequest(socket, request);
    if (!socket.waitForBytesWritten(std::min(timeoutMs, ReplyMs)) && socket.bytesToWrite() > 0)
        return std::nullopt;
    THandOverReply reply;
    for (;;) {
        const TReadStatus status = ReadReply(socket, reply);
        if (status == TReadStatus::Complete)
            return reply;
        if (status == TReadStatus::Malformed || !socket.waitForReadyRead(timeoutMs))
            return std::nullopt;
    }
}

bool Connect(QLocalSocket& socket, const QString& socketPath, int timeoutMs = ConnectMs)
{
    socket.connectToServer(socketPath);
    return socket.waitForConnected(std::min(timeoutMs, ConnectMs));
}

}  // namespace

int SendToRunningInstance(const QString& socketPath, const QString& className, const QString& captionPart,
                          const QString& text)
{
    QLocalSocket socket;
    if (!Connect(socket, socketPath))
        return hoNoWindow;
    const auto window = Ask(socket, {THandOverCommand::Query, {}}, ReplyMs);
    if (!window || window->ClassName != className || !window->Caption.contains(captionPart))
        return hoNoWindow;
    const auto found = Ask(socket, {THandOverCommand::Raise, {}}, ReplyMs);
    if (!found)
        return hoNoWindow;
    if (!found->HasBox)
        return hoNoBox;
    if (found->BoxText == "busy")
        return hoBusy;
    Ask(socket, {THandOverCommand::SetText, text}, ReplyMs);
    return hoHandedOver;
}

bool RaiseRunningInstance(const QString& socketPath)
{
    QLocalSocket socket;
    return Connect(socket, socketPath) && Ask(socket, {THandOverCommand::Raise, {}}, ReplyMs).has_value();
}

std::optional<THandOverReply> QueryRunningInstance(const QString& socketPath, int timeoutMs)
{
    QLocalSocket socket;
    if (!Connect(socket, socketPath, timeoutMs))
        return std::nullopt;
    return Ask(socket, {THandOverCommand::Query, {}}, std::min(timeoutMs, ReplyMs));
}

bool InstanceAnswers(const QString& socketPath, int timeoutMs)
{
    return QueryRunningInstance(socketPath, timeoutMs).has_value();
}

}  // namespace olve
