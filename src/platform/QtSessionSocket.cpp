#include "platform/QtSessionSocket.h"

#include <QMetaObject>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <stdexcept>
#include <utility>

namespace pagewing {

namespace {

// Sets a flag for the length of a call and puts back what it was however the call ends, so calls may nest.
class CallGuard {
public:
    explicit CallGuard(bool& flag)
        : Flag(flag)
        , Before(std::exchange(flag, true)) {}
    ~CallGuard() { Flag = Before; }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;

private:
    bool& Flag;
    const bool Before;
};

} // namespace

QtSessionSocket::QtSessionSocket(QObject* parent)
    : QObject(parent) {
    // A server that floods us is read a piece per turn of the event loop, so that the window keeps
    // answering between pieces; a whole backlog at once would hold it for as long as the backlog lasts.
    Socket.setReadBufferSize(16 * 1024);
    connect(&Socket, &QTcpSocket::readyRead, this, &QtSessionSocket::OnReadyRead);
    connect(&Socket, &QTcpSocket::errorOccurred, this, &QtSessionSocket::OnErrorOccurred);
    connect(&Socket, &QTcpSocket::connected, this, [this] {
        // Only a connected socket takes options. Without it, client ready and an SMS request written right
        // after it meet Nagle's algorithm and the server's delayed acknowledgement: 40 ms for every send.
        Socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        KeepAlive();
        RaiseConnected();
    });
    connect(&Socket, &QTcpSocket::disconnected, this, &QtSessionSocket::OnDisconnected);
}

void QtSessionSocket::Connect(const std::u16string& RemoteHost, const std::u16string& RemotePort) {
    const CallGuard guard(InsideCall);
    Close();
    bool isNumber = false;
    const auto portText = QString::fromStdU16String(RemotePort);
    const auto port = portText.toUShort(&isNumber);
    if (!isNumber || port == 0) {
        ReportError(tr("Invalid port number: %1").arg(portText));
        return;
    }
    Socket.connectToHost(QString::fromStdU16String(RemoteHost), port);
}

void QtSessionSocket::SendData(std::span<const std::uint8_t> Data) {
    const CallGuard guard(InsideCall);
    if (Socket.state() != QAbstractSocket::ConnectedState) {
        throw std::runtime_error("the connection is not open");
    }
    const auto size = static_cast<qint64>(Data.size());
    if (Socket.write(reinterpret_cast<const char*>(Data.data()), size) != size) {
        throw std::runtime_error(Socket.errorString().toStdString());
    }
    // Hand the frame to the system now rather than at the next turn of the event loop, after whatever the
    // window does with the status line that reports it.
    Socket.flush();
}

void QtSessionSocket::Close() {
    const CallGuard guard(InsideCall);
    const CallGuard dropping(Dropping);
    ++Attempt;
    Socket.abort();
}

void QtSessionSocket::KeepAlive() {
    // A connection that died while the computer slept, or behind a router that forgot it, sends no FIN: only
    // probes show it. The kernel sends them after a minute of silence and gives up after four unanswered
    // ones, and a request that stays unacknowledged for a minute ends the connection too; the session hears
    // an error either way, and no timer of ours runs for it.
    Socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const auto descriptor = static_cast<int>(Socket.socketDescriptor());
    for (const auto& [option, value] : {std::pair{TCP_KEEPIDLE, 60}, std::pair{TCP_KEEPINTVL, 15},
                                        std::pair{TCP_KEEPCNT, 4}, std::pair{TCP_USER_TIMEOUT, 60'000}}) {
        setsockopt(descriptor, IPPROTO_TCP, option, &value, sizeof value);
    }
}

bool QtSessionSocket::IsConnected() const {
    return Socket.state() == QAbstractSocket::ConnectedState;
}

void QtSessionSocket::OnReadyRead() {
    const auto bytes = Socket.readAll();
    RaiseDataArrival(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())));
}

void QtSessionSocket::OnErrorOccurred(QAbstractSocket::SocketError error) {
    if (error != QAbstractSocket::RemoteHostClosedError) {
        ReportError(Socket.errorString());
    }
}

void QtSessionSocket::OnDisconnected() {
    if (!Dropping) {
        Deliver([this] { RaiseClosed(); });
    }
}

void QtSessionSocket::ReportError(const QString& description) {
    Deliver([this, description] { RaiseError(description.toStdU16String()); });
}

void QtSessionSocket::Deliver(std::function<void()> event) {
    if (!InsideCall) {
        event();
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, event = std::move(event), attempt = Attempt] {
            if (attempt == Attempt) {
                event();
            }
        },
        Qt::QueuedConnection);
}

} // namespace pagewing
