#pragma once

#include "session/SessionSocket.h"

#include <QObject>
#include <QTcpSocket>

#include <cstdint>
#include <functional>

namespace pagewing {

// The session's socket over QTcpSocket. Events come from the Qt event loop; an error that Qt raises inside
// one of the session's own calls is held back to the next turn of the loop, so the session never sees an
// event in the middle of a call it made.
//
// The peer closing or resetting the connection is not an error here but Closed: the authorization server
// closes after every reply.
class QtSessionSocket : public QObject, public SessionSocket {
    Q_OBJECT

public:
    explicit QtSessionSocket(QObject* parent = nullptr);

    void Connect(const std::u16string& RemoteHost, const std::u16string& RemotePort) override;
    void SendData(std::span<const std::uint8_t> Data) override;
    void Close() override;

    bool IsConnected() const;

private:
    void KeepAlive();
    void OnReadyRead();
    void OnErrorOccurred(QAbstractSocket::SocketError error);
    void OnDisconnected();
    void ReportError(const QString& description);
    // Runs the event now, or on the next turn of the loop when it arose inside one of our calls.
    void Deliver(std::function<void()> event);

    QTcpSocket Socket{this};
    // Counts connections; an event held back for an earlier one is dropped.
    std::uint64_t Attempt = 0;
    bool InsideCall = false;
    // Set while we drop the connection ourselves, which is no news to the session.
    bool Dropping = false;
};

} // namespace pagewing
