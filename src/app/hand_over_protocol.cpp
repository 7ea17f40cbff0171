#include "app/hand_over_protocol.h"

#include <QDataStream>
#include <QLocalSocket>

namespace olve {

namespace {

constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_4;
constexpr quint32 Magic = 0x4F4C5645;  // "OLVE"

// A data stream on the socket in the one format both sides use.
class TStream : public QDataStream {
public:
    explicit TStream(QLocalSocket& socket) : QDataStream(&socket) { setVersion(StreamVersion); }
};

}  // namespace

void WriteRequest(QLocalSocket& socket, const THandOverRequest& request)
{
    TStream out(socket);
    out << Magic << static_cast<quint8>(request.Command) << request.Argument;
}

void WriteReply(QLocalSocket& socket, const THandOverReply& reply)
{
    TStream out(socket);
    out << Magic << reply.ClassName << reply.Caption << reply.HasBox << reply.BoxText;
}

TReadStatus ReadRequest(QLocalSocket& socket, THandOverRequest& request)
{
    TStream in(socket);
    in.startTransaction();
    quint32 magic = 0;
    quint8 command = 0;
    in >> magic >> command >> request.Argument;
    if (!in.commitTransaction())
        return in.status() == QDataStream::ReadPastEnd ? TReadStatus::Incomplete : TReadStatus::Malformed;
    request.Command = static_cast<THandOverCommand>(command);
    return magic == Magic && command >= 1 && command <= 3 ? TReadStatus::Complete : TReadStatus::Malformed;
}

TReadStatus ReadReply(QLocalSocket& socket, THandOverReply& reply)
{
    TStream in(socket);
    in.startTransaction();
    quint32 magic = 0;
    in >> magic >> reply.ClassName >> reply.Caption >> reply.HasBox >> reply.BoxText;
    if (!in.commitTransaction())
        return in.status() == QDataStream::ReadPastEnd ? TReadStatus::Incomplete : TReadStatus::Malformed;
    return magic == Magic ? TReadStatus::Complete : TReadStatus::Malformed;
}

}  // namespace olve
