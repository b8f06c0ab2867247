#pragma once

#include "gateway-sim/FlapFrame.h"
#include "gateway-sim/FlapStreamCutter.h"
#include "gateway-sim/FrameSender.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTcpSocket>

#include <optional>

namespace pagewing::sim {

class Reporter;
struct Snac;

// One accepted TCP connection: it greets the client (unless told to keep silent), cuts the incoming stream
// into frames, logs both directions and deletes itself when the socket closes. What the frames mean is the
// owning server's job.
class ClientConnection : public QObject {
    Q_OBJECT

public:
    // Takes the socket over as a child.
    ClientConnection(QTcpSocket* socket, QString name, bool fragment, bool greet, Reporter& log,
                     QObject* parent);

    void Send(quint8 channel, QByteArray payload);
    void SendSnac(const Snac& snac);
    // In one write, for runs of frames too long to send one event-loop turn each.
    void SendSnacs(const QList<Snac>& snacs);
    // Ends the connection once what was sent is written; later frames from the client are ignored.
    void Close();

    const QString& Name() const { return ConnectionName; }
    QHostAddress LocalAddress() const { return Socket->localAddress(); }

    // The account a service connection signed in with its cookie.
    std::optional<quint32> SignedInUin() const { return Uin; }
    void SignIn(const quint32 uin) { Uin = uin; }

    // The meta sequence numbers that SMS requests on this connection carried, which their answers echo.
    void RememberRequest(const quint16 metaSequence) { RequestNumbers.insert(metaSequence); }
    // A number that no request on this connection has carried, for a report that answers none.
    quint16 NumberNoRequestUsed() const;

    // Logged off by the server, which leaves the connection open and denies every later request.
    bool IsLoggedOff() const { return LoggedOff; }
    void LogOff() { LoggedOff = true; }

signals:
    void FrameReceived(const pagewing::sim::FlapFrame& frame);
    // Everything sent so far has gone to the system.
    void Drained();
    // The client ended the connection (a close frame or the end of its stream) before the server did.
    void ClosedByClient();

private:
    void ReadArrivals();
    void EndedByClient();

    QTcpSocket* const Socket;
    const QString ConnectionName;
    Reporter& Log;
    FrameSender Sender;
    FlapStreamCutter Cutter;
    std::optional<quint32> Uin;
    QSet<quint16> RequestNumbers;
    bool LoggedOff = false;
    bool Closing = false;
};

} // namespace pagewing::sim
