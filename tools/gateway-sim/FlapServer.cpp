#include "gateway-sim/FlapServer.h"

#include "gateway-sim/ClientConnection.h"

#include <utility>

namespace pagewing::sim {

FlapServer::FlapServer(QString connectionPrefix, const bool fragment, const bool greet, Reporter& log)
    : Log(log)
    , ConnectionPrefix(std::move(connectionPrefix))
    , Fragment(fragment)
    , Greet(greet) {
    connect(&Listener, &QTcpServer::newConnection, this, &FlapServer::AcceptConnections);
}

bool FlapServer::Listen(const Endpoint& endpoint) {
    return Listener.listen(endpoint.Host, endpoint.Port);
}

void FlapServer::AcceptConnections() {
    while (auto* const socket = Listener.nextPendingConnection()) {
        const auto name = QStringLiteral("%1#%2").arg(ConnectionPrefix).arg(++ConnectionCount);
        auto* const connection = new ClientConnection(socket, name, Fragment, Greet, Log, this);
        connect(connection, &ClientConnection::FrameReceived, this,
                [this, connection](const FlapFrame& frame) { HandleFrame(*connection, frame); });
    }
}

} // namespace pagewing::sim
