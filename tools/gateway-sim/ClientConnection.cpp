#include "gateway-sim/ClientConnection.h"

#include "gateway-sim/Reporter.h"
#include "gateway-sim/Snac.h"

#include <utility>

namespace pagewing::sim {

namespace {

// FLAP version 1, the greeting every OSCAR server sends first on channel 1.
const QByteArray Hello("\x00\x00\x00\x01", 4);

} // namespace

ClientConnection::ClientConnection(QTcpSocket* const socket, QString name, const bool fragment,
                                   const bool greet, Reporter& log, QObject* const parent)
    : QObject(parent)
    , Socket(socket)
    , ConnectionName(std::move(name))
    , Log(log)
    , Sender(*socket, fragment) {
    Socket->setParent(this);
    connect(Socket, &QTcpSocket::readyRead, this, &ClientConnection::ReadArrivals);
    connect(Socket, &QTcpSocket::disconnected, this, [this] {
        EndedByClient();
        deleteLater();
    });
    connect(&Sender, &FrameSender::Drained, this, &ClientConnection::Drained);
    Log.Trace(QStringLiteral("%1 connected from %2:%3")
                  .arg(ConnectionName, Socket->peerAddress().toString())
                  .arg(Socket->peerPort()));
    if (greet) {
        Send(FlapFrame::LoginChannel, Hello);
    }
}

void ClientConnection::Send(const quint8 channel, QByteArray payload) {
    if (Closing) {
        return;
    }
    const auto frame = Sender.Send(channel, std::move(payload));
    if (Log.IsVerbose()) {
        Log.Trace(QStringLiteral("%1 sent %2").arg(ConnectionName, frame.Describe()));
    }
}

void ClientConnection::SendSnac(const Snac& snac) {
    Send(FlapFrame::SnacChannel, snac.ToBytes());
}

void ClientConnection::SendSnacs(const QList<Snac>& snacs) {
    if (Closing || snacs.isEmpty()) {
        return;
    }
    QList<QByteArray> payloads;
    payloads.reserve(snacs.size());
    for (const auto& snac : snacs) {
        payloads.append(snac.ToBytes());
    }
    Sender.SendAll(FlapFrame::SnacChannel, payloads);
    // One line for the run: a line per frame would bury everything else in the log.
    Log.Trace(QStringLiteral("%1 sent %2 SNACs in one write, the first %3,%4")
                  .arg(ConnectionName)
                  .arg(snacs.size())
                  .arg(snacs.constFirst().Family, 4, 16, QLatin1Char('0'))
                  .arg(snacs.constFirst().Subtype, 4, 16, QLatin1Char('0')));
}

void ClientConnection::Close() {
    if (!Closing) {
        Closing = true;
        Log.Trace(QStringLiteral("%1 closing").arg(ConnectionName));
        Sender.CloseWhenSent();
    }
}

quint16 ClientConnection::NumberNoRequestUsed() const {
    // Counting down from 0, away from the client's numbers, which count up from 1.
    quint16 number = 0;
    for (qsizetype tried = 0; tried < RequestNumbers.size() && RequestNumbers.contains(number); ++tried) {
        --number;
    }
    return number;
}

void ClientConnection::ReadArrivals() {
    Cutter.Append(Socket->readAll());
    while (!Closing) {
        const auto frame = Cutter.NextFrame();
        if (const auto skipped = Cutter.TakeSkippedBytes(); skipped > 0) {
            Log.Note(QStringLiteral("%1: skipped %2 bytes that start no FLAP frame")
                         .arg(ConnectionName)
                         .arg(skipped));
        }
        if (!frame) {
            return;
        }
        if (Log.IsVerbose()) {
            Log.Trace(QStringLiteral("%1 received %2").arg(ConnectionName, frame->Describe()));
        }
        if (frame->Channel == FlapFrame::CloseChannel) {
            EndedByClient();
            Close();
            return;
        }
        emit FrameReceived(*frame);
    }
}

void ClientConnection::EndedByClient() {
    if (!Closing) {
        emit ClosedByClient();
    }
}

} // namespace pagewing::sim
