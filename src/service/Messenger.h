#pragma once

#include "platform/ProgramRun.h"
#include "platform/SendRequest.h"
#include "service/MessageRecord.h"
#include "service/ReconnectBackoff.h"
#include "service/StatusReport.h"
#include "session/SMSSenderEvents.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace pagewing {

class History;
class MessageWatch;
class SMSSender;
class SessionTimer;
class SessionTimerFactory;
class StatusClock;

// A wait as the status lines say it: "1 second", "2 minutes 30 seconds", to the second under 10 minutes, and
// then in whole minutes.
QString DurationText(std::chrono::milliseconds wait);

// A message as it was asked for, before it has an id.
struct OutgoingMessage {
    // The number box's text: a number, or a name and the number.
    QString Entry;
    QString Sender;
    QString Text;
    MessageOrigin Origin = MessageOrigin::Window;
};

// The messaging service that the window and the command line share. It takes a message, checks it, gives it
// an id, records it, and sends it as soon as the session is ready: the outbox goes out oldest first, each
// message once. It follows every request to its answer and records how it ended, and logs in again by itself
// when a login fails or a connection is lost, unless the server refused the account.
//
// A request written to a connection that is lost before its answer is never sent again by itself: it may have
// arrived, and a second copy is worse than asking the user. Its outcome is unknown.
//
// Every status line, the session's and its own, is reported once, tagged with the message it tells of where
// it is made: the session tags the lines of a request with the message's id. A message belongs to the run of
// the program that took it; another run takes up only the messages of runs that are gone.
class Messenger : public QObject, public SMSSenderEvents {
    Q_OBJECT

public:
    enum class Connection {
        NotConnected,
        LoggingIn,
        Ready,
        // A login follows by itself after a wait.
        WaitingToReconnect,
        // The account was refused, or taken by another login; only the user can mend it.
        WaitingForUser,
    };
    // Whether messages left by runs that are gone go out: the window's do; a command sends only its own.
    enum class Outbox { Resumed, OwnOnly };

    // A second log-off for another login of the account within this time makes the service wait for the
    // user rather than fight the other login for the account.
    static constexpr std::chrono::minutes AnotherLoginWindow{10};

    // The run that owns the messages taken here: this process's unless another is named.
    Messenger(SMSSender& session, const StatusClock& clock, SessionTimerFactory& timers, History& history,
              Outbox outbox, QString run = {}, ReconnectBackoff backoff = ReconnectBackoff(),
              QObject* parent = nullptr);
    ~Messenger() override;

    // Logs in now, with the stored server and account, and counts the waits between logins from the first
    // again: the user asked for it.
    void LogIn();
    // Whether a failed login or a lost connection brings a new login by itself.
    void SetReconnecting(bool reconnecting);
    // Opens the history, and with a resumed outbox takes up what runs that are gone left: messages still
    // queued go out after the login, those that were on their way are unknown.
    void OpenHistory();
    // Opens the history now only when an earlier run left messages waiting; otherwise the first message, or
    // the first look at the history, opens it.
    void TakeUpLastRun();
    // The network came back: logs in at once when waiting to reconnect.
    void NetworkReachable();

    // Why a message makes no sense to send as it is, or none when it does.
    static std::optional<QString> Problem(const OutgoingMessage& message);
    // Takes a message; its id, or none when it makes no sense to send (a line says why). A watch given here
    // watches the message before the first line about it.
    std::optional<qint64> Submit(const OutgoingMessage& message, MessageWatch* watch = nullptr);
    // Queues a recorded message again as a new one.
    std::optional<qint64> SendAgain(qint64 id);
    // A queued message that is no longer wanted is not sent: it ends with the reason, and a command waiting
    // for it with the exit given. False when the message was not waiting to go out.
    bool Withdraw(qint64 id, const QString& reason, SendExit exit = SendExit::NotSentInTime);
    // Ends every message of this run that waits for its answer: its run is ending and takes the waiting
    // with it. The answer may still come, so the outcome is unknown.
    void GiveUpWaiting(const QString& reason);

    Connection State() const { return Current; }
    // The connection in a few words: "Ready to send", "Reconnecting in 8 seconds", "Not connected: ...".
    const QString& StateText() const { return CurrentText; }
    // Messages waiting to go out.
    int Queued() const { return static_cast<int>(Queue.size()); }
    // How the last login or session ended, for a front end that has its own way out of it.
    const SessionEnd& LastFailure() const { return Failure; }
    History& Records() { return MessageHistory; }

    void ReportMessage(const std::u16string& Message) override;
    void ReportRequestMessage(RequestTag tag, const std::u16string& Message) override;
    void NotReadyToSendMessage() override;
    void ReadyToSendMessage() override;
    void MustReconnect() override;
    void MessageAnswered(RequestTag tag, const SmsAnswer& answer,
                         const std::vector<std::u16string>& lines) override;
    void AnswerOverdue(RequestTag tag) override;
    void SessionFailed(const SessionEnd& end) override;

signals:
    // Every status line, the session's and the service's own.
    void Reported(const pagewing::StatusReport& report);
    // A message was taken or changed its state.
    void MessageChanged(const pagewing::MessageRecord& record);
    // A message ended: delivered, not delivered, refused, unknown or not sent; and how a command that asked
    // for it ends.
    void MessageFinished(const pagewing::MessageRecord& record, pagewing::SendExit exit);
    void ConnectionChanged(pagewing::Messenger::Connection previous, pagewing::Messenger::Connection current);
    // The number of messages waiting to go out changed.
    void OutboxChanged(int queued);
    // The stored number list has a new entry.
    void NumbersChanged();

private:
    qint64 Enqueue(MessageRecord record, MessageWatch* watch);
    void SendQueued();
    // Sends one message; false when the connection failed under it and it must wait for the next login.
    bool SendNow(MessageRecord record);
    // Records how a message ended, reports the lines the session told of it and then the service's own line,
    // if any, and tells whoever waits for it.
    void Finish(MessageRecord record, MessageState state, const QString& detail = {},
                const QString& line = {}, std::optional<SendExit> exit = std::nullopt);
    // Another run ended the message meanwhile: it ends here as that run left it.
    void EndAsStored(qint64 id);
    void ResumeOutbox();
    // Whether the run that owns a message that may still change is gone, so that this one takes it up.
    bool IsOrphan(const MessageRecord& record);
    // Every request still waiting for its answer on a connection that is gone.
    void LoseWaitingRequests();
    // Logs in again after the backoff's wait, or waits for the user; reason is why the login ended.
    void ScheduleLogin(SessionFailure failure, const QString& reason);
    // True, after saying why, when the account was taken by another login twice within the window.
    bool YieldToAnotherLogin(const SessionEnd& end);
    // Follows the network's reachability, where the system tells it; only needed while waiting to reconnect.
    void WatchNetwork();
    // Takes the mark for the next start away once none of the window's messages is waiting or on its way.
    void ClearWaitingMarkWhenDone();
    void StartLogin();
    void SetState(Connection state, const QString& text);
    void QueueChanged();
    // Records the message's new state; false when `from` is given and the stored state is another, because
    // another program withdrew or took the message meanwhile.
    bool Save(const MessageRecord& record, std::optional<MessageState> from = std::nullopt);
    bool WithdrawnElsewhere(qint64 id, MessageState expected);
    // Ends the messages queued for commands that wait for them, when no login follows by itself.
    void WithdrawCommandMessages(const QString& reason);
    // Reports the session's lines about a message, held until the step that told them has moved the message
    // on, so that each carries the state it tells of.
    void ReportHeld(qint64 id, const MessageRecord& record);
    void ReportAllHeld();
    const QString& OwnRun();
    QDateTime Now() const;
    QString Dated(const QString& message) const;
    // A line about no message in particular.
    void Say(const QString& message);
    // A line about one message.
    void Tell(const MessageRecord& record, const QString& message);

    SMSSender& Session;
    const StatusClock& Clock;
    History& MessageHistory;
    const Outbox Kind;
    // Empty until the first message or the first look at the history: taking the run's lock waits until then.
    QString Run;
    ReconnectBackoff Backoff;
    std::unique_ptr<SessionTimer> ReconnectTimer;
    // Runs for AnotherLoginWindow after a log-off for another login.
    std::unique_ptr<SessionTimer> AnotherLoginTimer;
    bool LoggedOffByAnotherLogin = false;
    Connection Current = Connection::NotConnected;
    QString CurrentText;
    SessionEnd Failure;
    bool Reconnecting = true;
    bool HistoryOpened = false;
    bool RateLimited = false;
    bool WatchingNetwork = false;

    // Messages not yet finished, by id.
    QHash<qint64, MessageRecord> Pending;
    // Ids waiting for the login, oldest first.
    std::deque<qint64> Queue;
    int ReportedQueue = 0;
    // Ids written to the service connection and not yet answered; the session tags its events about each
    // with its id.
    std::deque<qint64> Waiting;
    // The session's lines about a message, in order, not yet reported.
    std::vector<std::pair<qint64, QString>> Held;
    // Ids for messages the history could not record: negative, so they never meet a stored one.
    qint64 UnrecordedIds = 0;
    // What the session said last, which names why a write failed.
    QString LastSessionLine;
};

} // namespace pagewing
