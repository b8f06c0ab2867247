#include "platform/SingleCopy.h"

#include "platform/HandOverReply.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace pagewing {

SingleCopy::SingleCopy(QObject* parent)
    : QObject(parent)
    , Lock(LockFileName()) {
    // A lock whose owner is gone is taken over at once, whatever its age.
    Lock.setStaleLockTime(0);
    connect(&Server, &QLocalServer::newConnection, this, [this] {
        while (auto* connection = Server.nextPendingConnection()) {
            connect(connection, &QLocalSocket::readyRead, this,
                    [this, connection] { ReadRequest(connection); });
            connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
        }
    });
}

bool SingleCopy::TryAcquire() {
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    return Lock.tryLock(0);
}

void SingleCopy::Listen() {
    // A socket file left by a copy that crashed would stop the listen.
    QLocalServer::removeServer(SocketName());
    Server.setSocketOptions(QLocalServer::UserAccessOption);
    Server.listen(SocketName());
}

bool SingleCopy::AskRunningCopyToShow(const QString& activationToken) const {
    QLocalSocket socket;
    socket.connectToServer(SocketName());
    if (!socket.waitForConnected(ConnectTimeoutMs)) {
        return false;
    }
    QDataStream stream(&socket);
    stream.setVersion(StreamVersion);
    if (activationToken.isEmpty()) {
        stream << static_cast<quint8>(Request::Show);
    } else {
        stream << static_cast<quint8>(Request::ShowWithToken) << activationToken;
    }
    return socket.bytesToWrite() == 0 || socket.waitForBytesWritten(ConnectTimeoutMs);
}

QString SingleCopy::LockFileName() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/lumenfold-pagewing.lock");
}

QString SingleCopy::SocketName() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/lumenfold-pagewing.socket");
}

void SingleCopy::ReadRequest(QLocalSocket* connection) {
    QDataStream stream(connection);
    stream.setVersion(StreamVersion);
    quint8 kind = 0;
    SendRequest request;
    QString activationToken;
    stream.startTransaction();
    stream >> kind;
    if (kind == static_cast<quint8>(Request::Send)) {
        stream >> request.Number >> request.Sender >> request.Message;
    } else if (kind == static_cast<quint8>(Request::ShowWithToken)) {
        stream >> activationToken;
    }
    if (!stream.commitTransaction()) {
        return;
    }
    disconnect(connection, nullptr, this, nullptr);
    if (kind == static_cast<quint8>(Request::Send)) {
        disconnect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
        emit SendRequested(request, new HandOverReply(connection, this));
    } else {
        connection->disconnectFromServer();
        emit ShowRequested(activationToken);
    }
}

} // namespace pagewing
