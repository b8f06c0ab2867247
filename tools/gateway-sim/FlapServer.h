#pragma once

#include "gateway-sim/Endpoint.h"
#include "gateway-sim/FlapFrame.h"

#include <QObject>
#include <QString>
#include <QTcpServer>

namespace pagewing::sim {

class ClientConnection;
class Reporter;

// A listening OSCAR server: accepts connections, greets them (unless told to keep silent) and hands their
// frames to HandleFrame.
class FlapServer : public QObject {
    Q_OBJECT

public:
    bool Listen(const Endpoint& endpoint);
    QString ErrorString() const { return Listener.errorString(); }
    // The address actually listened on, with the port chosen when 0 was asked for.
    Endpoint Address() const { return {Listener.serverAddress(), Listener.serverPort()}; }

protected:
    // connectionPrefix names the connections in the log ("auth#1", "service#2").
    FlapServer(QString connectionPrefix, bool fragment, bool greet, Reporter& log);

    virtual void HandleFrame(ClientConnection& connection, const FlapFrame& frame) = 0;

    Reporter& Log;

private:
    void AcceptConnections();

    QTcpServer Listener;
    const QString ConnectionPrefix;
    const bool Fragment;
    const bool Greet;
    quint64 ConnectionCount = 0;
};

} // namespace pagewing::sim
