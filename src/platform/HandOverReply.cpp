#include "platform/HandOverReply.h"

#include "platform/SendRequest.h"
#include "platform/SingleCopy.h"

#include <QDataStream>
#include <QLocalSocket>

#include <utility>

namespace pagewing {

namespace {

template <typename... Fields>
void Write(QLocalSocket* connection, SingleCopy::Reply kind, const Fields&... fields) {
    QDataStream stream(connection);
    stream.setVersion(SingleCopy::StreamVersion);
    stream << static_cast<quint8>(kind);
    ((stream << fields), ...);
}

} // namespace

HandOverReply::HandOverReply(QLocalSocket* connection, QObject* parent)
    : QObject(parent)
    , Connection(connection) {
    Connection->setParent(this);
    connect(Connection, &QLocalSocket::disconnected, this, &QObject::deleteLater);
    connect(Connection, &QLocalSocket::readyRead, this, &HandOverReply::ReadRequest);
}

void HandOverReply::Taken() {
    if (!Finished) {
        Write(Connection, SingleCopy::Reply::Taken);
        // Out of this process before the message is taken: a window killed after taking it leaves the
        // command knowing so, and the command never sends it a second time by itself.
        Connection->flush();
    }
}

void HandOverReply::WriteReport(const QString& kind, const QString& destination, const QString& line) {
    if (!Finished) {
        Write(Connection, SingleCopy::Reply::Report, kind, destination, line);
    }
}

void HandOverReply::Sent() {
    if (!Finished) {
        Write(Connection, SingleCopy::Reply::Sent);
        // Out before the request itself: a command whose window dies under the write hears it may arrive.
        Connection->flush();
    }
}

void HandOverReply::Finish(SendExit outcome, const QString& reason) {
    if (std::exchange(Finished, true)) {
        return;
    }
    Write(Connection, SingleCopy::Reply::Ended, static_cast<qint32>(outcome), reason);
    Connection->disconnectFromServer();
}

void HandOverReply::ReadRequest() {
    QDataStream stream(Connection);
    stream.setVersion(SingleCopy::StreamVersion);
    quint8 kind = 0;
    while (Connection->bytesAvailable() > 0) {
        stream >> kind;
        if (kind == static_cast<quint8>(SingleCopy::Request::Withdraw)) {
            emit WithdrawRequested();
        }
    }
}

} // namespace pagewing
