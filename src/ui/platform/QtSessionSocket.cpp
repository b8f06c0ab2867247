#include "ui/platform/QtSessionSocket.h"

#include <QMetaObject>

#include <stdexcept>

namespace pagewing {

namespace {

// Sets a flag for the length of a call and clears it however the call ends.
class CallGuard {
public:
    explicit CallGuard(bool& flag)
        : Flag(flag) {
        Flag = true;
    }
    ~CallGuard() { Flag = false; }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;

private:
    bool& Flag;
};

} // namespace

QtSessionSocket::QtSessionSocket(QObject* parent)
    : QObject(parent) {
    Socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(&Socket, &QTcpSocket::readyRead, this, &QtSessionSocket::OnReadyRead);
    connect(&Socket, &QTcpSocket::errorOccurred, this, &QtSessionSocket::OnErrorOccurred);
}

void QtSessionSocket::Connect(const std::u16string& RemoteHost, const std::u16string& RemotePort) {
    const CallGuard guard(InsideCall);
    Socket.abort();
    ++Attempt;
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
    ++Attempt;
    Socket.abort();
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

void QtSessionSocket::ReportError(const QString& description) {
    if (!InsideCall) {
        RaiseError(description.toStdU16String());
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, description, attempt = Attempt] {
            if (attempt == Attempt) {
                RaiseError(description.toStdU16String());
            }
        },
        Qt::QueuedConnection);
}

} // namespace pagewing
