#pragma once

#include "gateway-sim/FlapFrame.h"
#include "gateway-sim/FlapStreamCutter.h"
#include "gateway-sim/FrameSender.h"

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpSocket>

#include <optional>

namespace pagewing::sim {

class Reporter;
struct Snac;

// One accepted TCP connection: it greets the client, cuts the incoming stream into frames, logs both
// directions and deletes itself when the socket closes. What the frames mean is the owning server's job.
class ClientConnection : public QObject {
    Q_OBJECT

public:
    // Takes the socket over as a child.
    ClientConnection(QTcpSocket* socket, QString name, bool fragment, Reporter& log, QObject* parent);

    void Send(quint8 channel, QByteArray payload);
    void SendSnac(const Snac& snac);
    // Ends the connection once what was sent is written; later frames from the client are ignored.
    void Close();

    const QString& Name() const { return ConnectionName; }
    QHostAddress LocalAddress() const { return Socket->localAddress(); }

    // The account a service connection signed in with its cookie.
    std::optional<quint32> SignedInUin() const { return Uin; }
    void SignIn(const quint32 uin) { Uin = uin; }

signals:
    void FrameReceived(const pagewing::sim::FlapFrame& frame);

private:
    void ReadArrivals();

    QTcpSocket* const Socket;
    const QString ConnectionName;
    Reporter& Log;
    FrameSender Sender;
    FlapStreamCutter Cutter;
    std::optional<quint32> Uin;
    bool Closing = false;
};

} // namespace pagewing::sim
