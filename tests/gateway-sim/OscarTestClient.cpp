#include "gateway-sim/OscarTestClient.h"

#include <QCoreApplication>
#include <QTest>

namespace pagewing::sim::test {

namespace {

constexpr qsizetype HeaderSize = 6;

// The size of the whole frame starting at the front, or 0 while its bytes are still arriving.
qsizetype CompleteFrameSize(const QByteArrayView bytes) {
    if (bytes.size() < HeaderSize) {
        return 0;
    }
    const qsizetype size = HeaderSize + (static_cast<quint8>(bytes[4]) << 8 | static_cast<quint8>(bytes[5]));
    return bytes.size() >= size ? size : 0;
}

} // namespace

OscarTestClient::OscarTestClient(const bool byteByByte)
    : ByteByByte(byteByByte) {}

bool OscarTestClient::Connect(const Endpoint& server) {
    Socket.connectToHost(server.Host, server.Port);
    if (ByteByByte) {
        Socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }
    return QTest::qWaitFor([this] { return Socket.state() == QAbstractSocket::ConnectedState; }, Timeout);
}

void OscarTestClient::Send(const QByteArray& bytes) {
    if (!ByteByByte) {
        Socket.write(bytes);
        Socket.flush();
        return;
    }
    for (const char byte : bytes) {
        Socket.write(&byte, 1);
        Socket.flush();
        QCoreApplication::processEvents();
    }
}

std::optional<ReceivedFrame> OscarTestClient::NextFrame() {
    std::optional<ReceivedFrame> frame;
    const bool ended = QTest::qWaitFor(
        [this, &frame] {
            ReadArrivals();
            frame = TakeFrame();
            return frame.has_value() || FramingLost || Socket.state() == QAbstractSocket::UnconnectedState;
        },
        Timeout);
    return ended ? frame : std::nullopt;
}

bool OscarTestClient::WaitForServerClose() {
    return QTest::qWaitFor(
               [this] {
                   ReadArrivals();
                   return Socket.state() == QAbstractSocket::UnconnectedState;
               },
               Timeout) &&
           Received.isEmpty();
}

void OscarTestClient::ReadArrivals() {
    const auto arrived = Socket.readAll();
    if (arrived.isEmpty()) {
        return;
    }
    Received += arrived;
    QByteArrayView rest(Received);
    while (const auto size = CompleteFrameSize(rest)) {
        rest = rest.sliced(size);
    }
    if (!rest.isEmpty()) {
        ++PartialReads;
    }
}

std::optional<ReceivedFrame> OscarTestClient::TakeFrame() {
    if (!Received.isEmpty() && Received[0] != 0x2A) {
        // The server must never lose its framing, so no resynchronizing here.
        qWarning("server stream does not start with 0x2A: %s", Received.toHex(' ').constData());
        FramingLost = true;
        return std::nullopt;
    }
    const auto size = CompleteFrameSize(Received);
    if (size == 0) {
        return std::nullopt;
    }
    const auto byte = [this](const qsizetype at) {
        return static_cast<quint8>(Received[at]);
    };
    ReceivedFrame frame{byte(1), static_cast<quint16>(byte(2) << 8 | byte(3)),
                        Received.mid(HeaderSize, size - HeaderSize)};
    Received.remove(0, size);
    return frame;
}

} // namespace pagewing::sim::test
