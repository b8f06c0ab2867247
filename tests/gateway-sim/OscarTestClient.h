#pragma once

#include "gateway-sim/Endpoint.h"

#include <QByteArray>
#include <QTcpSocket>

#include <optional>

namespace pagewing::sim::test {

struct ReceivedFrame {
    quint8 Channel = 0;
    quint16 Sequence = 0;
    QByteArray Payload;
};

// The client end of a test conversation. It runs in the thread of the servers under test, so every wait
// spins the event loop instead of blocking on the socket.
class OscarTestClient {
public:
    static constexpr int Timeout = 5000;

    // Byte by byte: every byte is its own write, with the servers given a turn after each.
    explicit OscarTestClient(bool byteByByte = false);

    bool Connect(const Endpoint& server);
    void Send(const QByteArray& bytes);
    // The next whole frame from the server, however its bytes were cut; empty on timeout or close.
    std::optional<ReceivedFrame> NextFrame();
    // True once the server has closed the connection and every byte it sent has been read.
    bool WaitForServerClose();
    // How many reads ended inside a frame.
    int PartialArrivals() const { return PartialReads; }

    QTcpSocket Socket;

private:
    void ReadArrivals();
    std::optional<ReceivedFrame> TakeFrame();

    const bool ByteByByte;
    QByteArray Received;
    bool FramingLost = false;
    int PartialReads = 0;
};

} // namespace pagewing::sim::test
