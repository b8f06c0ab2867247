#pragma once

#include "platform/SendRequest.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <chrono>
#include <functional>
#include <optional>

class QLocalSocket;

namespace pagewing {

class HandOverReply;

// Lets one copy of the program run per user. The lock is a lock file in the user's runtime folder, which a
// copy that crashed does not leave held; beside it a local socket lets a later start ask the running copy to
// bring its window to the front, or to send a message for it and tell it how that went.
class SingleCopy : public QObject {
    Q_OBJECT

public:
    // What a later start asks, and what the running copy answers, as QDataStream records on the socket.
    // A Show from an older start carries nothing; ShowWithToken carries the start's activation token.
    enum class Request : quint8 { Show = 0, Send = 1, ShowWithToken = 2 };
    enum class Reply : quint8 { Line = 0, Exit = 1, Sent = 2 };
    static constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_4;

    explicit SingleCopy(QObject* parent = nullptr);

    // True when this is the only copy.
    bool TryAcquire();
    // Listens for later starts; the only copy may leave this until its window is up.
    void Listen();
    // Asks the running copy to show its window, passing on the token with which the desktop lets a window
    // started by the user take the focus (XDG_ACTIVATION_TOKEN on Wayland), when there is one; waits briefly
    // for it to take the request. False when no copy listens (yet).
    bool AskRunningCopyToShow(const QString& activationToken) const;
    // Hands the message to a running copy, passes on each status line it sends back, and gives how the send
    // ended; none when no copy runs. A copy that does not finish within the time-out gives NoAnswer when the
    // message went out, and NotSentInTime when it had not: the running copy then never sends it.
    static std::optional<SendExit> HandOver(const SendRequest& request, std::chrono::milliseconds timeout,
                                            const std::function<void(const QString&)>& onLine);

    static QString LockFileName();

signals:
    void ShowRequested(const QString& activationToken);
    // The reply stays valid while the command waits; it deletes itself when the command goes away.
    void SendRequested(const pagewing::SendRequest& request, pagewing::HandOverReply* reply);

private:
    static QString SocketName();
    void ReadRequest(QLocalSocket* connection);

    QLockFile Lock;
    QLocalServer Server;
};

} // namespace pagewing
