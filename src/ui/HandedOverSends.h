#pragma once

#include "platform/SendRequest.h"
#include "session/SMSSenderEvents.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <utility>

namespace pagewing {

class HandOverReply;

// Messages that `pagewing --send` handed to the running window. Each is sent as the window's own, once the
// login has finished; the status lines of its login and of its answer go back to the command that asked,
// and then how it ended. Answers come in the order of the requests, the window's own included, so the
// window tells of every request it sends.
class HandedOverSends : public QObject {
    Q_OBJECT

public:
    // Sends one request as the window sends; true when it went out.
    using Sender = std::function<bool(const SendRequest&)>;

    explicit HandedOverSends(Sender send, QObject* parent = nullptr);

    void Add(const SendRequest& request, HandOverReply* reply);

    // What the window learns from its session, passed on.
    void LoginStarted();
    void WindowSent();
    void Line(const QString& line);
    void NotReady();
    void Ready();
    void Answered(SmsOutcome outcome, const QStringList& lines);
    void Failed();

private:
    void SendNow(const SendRequest& request, HandOverReply* reply);
    // Ends the requests sent and not answered, which the session no longer waits for: the line that says why
    // and a failed login.
    void FinishUnanswered();

    const Sender Send;
    bool LoggingIn = false;
    bool LoggedIn = false;
    QPointer<HandOverReply> Sending;
    QString LastLine;
    QList<std::pair<SendRequest, QPointer<HandOverReply>>> Waiting;
    // One per request sent and not yet answered, oldest first; the window's own hold no reply.
    std::deque<QPointer<HandOverReply>> Unanswered;
};

} // namespace pagewing
