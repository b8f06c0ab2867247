#include "platform/SingleCopy.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace pagewing {

namespace {
constexpr int ShowRequestTimeoutMs = 1000;
}

SingleCopy::SingleCopy(QObject* parent)
    : QObject(parent)
    , Lock(LockFileName()) {
    // A lock whose owner is gone is taken over at once, whatever its age.
    Lock.setStaleLockTime(0);
    connect(&Server, &QLocalServer::newConnection, this, [this] {
        while (auto* connection = Server.nextPendingConnection()) {
            connection->deleteLater();
            emit ShowRequested();
        }
    });
}

bool SingleCopy::TryAcquire() {
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    if (!Lock.tryLock(0)) {
        return false;
    }
    // A socket file left by a copy that crashed would stop the listen.
    QLocalServer::removeServer(SocketName());
    Server.setSocketOptions(QLocalServer::UserAccessOption);
    Server.listen(SocketName());
    return true;
}

void SingleCopy::AskRunningCopyToShow() const {
    QLocalSocket socket;
    socket.connectToServer(SocketName());
    socket.waitForConnected(ShowRequestTimeoutMs);
}

QString SingleCopy::LockFileName() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/lumenfold-pagewing.lock");
}

QString SingleCopy::SocketName() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/lumenfold-pagewing.socket");
}

} // namespace pagewing
