#pragma once

#include "platform/SendRequest.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>

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
    // A Show from an older start carries nothing; ShowWithToken carries the start's activation token. A Send
    // is answered with Taken once the message is in the outbox, Reports (what it tells, the destination and
    // the line), Sent once it went out, and Ended (the exit status and why) last; a Withdraw on the same
    // connection asks for the last word at once. Line and Exit are an older copy's answers.
    enum class Request : quint8 { Show = 0, Send = 1, ShowWithToken = 2, Withdraw = 3 };
    enum class Reply : quint8 { Line = 0, Exit = 1, Sent = 2, Taken = 3, Report = 4, Ended = 5 };
    static constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_4;
    // How long a later start waits for the running copy to take its connection or its request.
    static constexpr int ConnectTimeoutMs = 1000;

    explicit SingleCopy(QObject* parent = nullptr);

    // True when this is the only copy.
    bool TryAcquire();
    // Listens for later starts; the only copy may leave this until its window is up.
    void Listen();
    // Asks the running copy to show its window, passing on the token with which the desktop lets a window
    // started by the user take the focus (XDG_ACTIVATION_TOKEN on Wayland), when there is one; waits briefly
    // for it to take the request. False when no copy listens (yet).
    bool AskRunningCopyToShow(const QString& activationToken) const;
    static QString LockFileName();
    static QString SocketName();

signals:
    void ShowRequested(const QString& activationToken);
    // The reply stays valid while the command waits; it deletes itself when the command goes away.
    void SendRequested(const pagewing::SendRequest& request, pagewing::HandOverReply* reply);

private:
    void ReadRequest(QLocalSocket* connection);

    QLockFile Lock;
    QLocalServer Server;
};

} // namespace pagewing
