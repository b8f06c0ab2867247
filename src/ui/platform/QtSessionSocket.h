#pragma once

#include "session/SessionSocket.h"

#include <QObject>
#include <QTcpSocket>

#include <cstdint>

namespace pagewing {

// The session's socket over QTcpSocket. Events come from the Qt event loop; an error that Qt raises inside
// one of the session's own calls is held back to the next turn of the loop, so the session never sees an
// event in the middle of a call it made.
//
// The peer closing the connection is not an error here: the authorization server closes after every reply.
class QtSessionSocket : public QObject, public SessionSocket {
    Q_OBJECT

public:
    explicit QtSessionSocket(QObject* parent = nullptr);

    void Connect(const std::u16string& RemoteHost, const std::u16string& RemotePort) override;
    void SendData(std::span<const std::uint8_t> Data) override;
    void Close() override;

    bool IsConnected() const;

private:
    void OnReadyRead();
    void OnErrorOccurred(QAbstractSocket::SocketError error);
    void ReportError(const QString& description);

    QTcpSocket Socket{this};
    // Counts connections; an error held back for an earlier one is dropped.
    std::uint64_t Attempt = 0;
    bool InsideCall = false;
};

} // namespace pagewing
