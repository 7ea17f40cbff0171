#pragma once
#include <QString>

class QLocalSocket;

namespace olve {

// The messages between a second start of the program and the running instance's hand-over
// box. Each message is one QDataStream record on a private local socket.
enum class THandOverCommand : quint8 {
    Query = 1,   // reply: the window's class name, caption, whether it has a box, the box text
    SetText = 2, // the box's text becomes the argument; reply at once, the window acts on it afterwards
    Raise = 3,   // restore and bring the window forward
};

struct THandOverRequest {
    THandOverCommand Command = THandOverCommand::Query;
    QString Argument;
};

struct THandOverReply {
    QString ClassName;
    QString Caption;
    bool HasBox = false;
    QString BoxText;
};

void WriteRequest(QLocalSocket& socket, const THandOverRequest& request);
void WriteReply(QLocalSocket& socket, const THandOverReply& reply);
enum class TReadStatus { Complete, Incomplete, Malformed };

// Reads one whole record once it has arrived.
TReadStatus ReadRequest(QLocalSocket& socket, THandOverRequest& request);
TReadStatus ReadReply(QLocalSocket& socket, THandOverReply& reply);

}  // namespace olve
