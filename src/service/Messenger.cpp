#include "service/Messenger.h"

#include "platform/LocaleStatusClock.h"
#include "platform/ProductInfo.h"
#include "service/History.h"
#include "service/StatusLine.h"
#include "service/TelephoneList.h"
#include "session/GlobalSettings.h"
#include "session/SMSSender.h"
#include "session/SessionTimer.h"
#include "session/SmsText.h"
#include "session/StatusClock.h"

#include <QNetworkInformation>

#include <algorithm>
#include <cmath>

namespace pagewing {

namespace {

QString Messages(qsizetype count) {
    return count == 1 ? QStringLiteral("1 message") : QStringLiteral("%1 messages").arg(count);
}

QStringList Texts(const std::vector<std::u16string>& lines) {
    QStringList texts;
    for (const auto& line : lines) {
        texts.append(QString::fromStdU16String(line));
    }
    return texts;
}

} // namespace

QString DurationText(std::chrono::milliseconds wait) {
    const auto seconds = std::max<long long>(1, std::llround(static_cast<double>(wait.count()) / 1000.0));
    if (seconds < 120) {
        return seconds == 1 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(seconds);
    }
    return QStringLiteral("%1 minutes").arg(std::llround(static_cast<double>(seconds) / 60.0));
}

Messenger::Messenger(SMSSender& session, const StatusClock& clock, SessionTimerFactory& timers,
                     History& history, Outbox outbox, ReconnectBackoff backoff, QObject* parent)
    : QObject(parent)
    , Session(session)
    , Clock(clock)
    , MessageHistory(history)
    , Kind(outbox)
    , Backoff(std::move(backoff))
    , ReconnectTimer(timers.CreateTimer([this] { StartLogin(); }))
    , AnotherLoginTimer(timers.CreateTimer([this] { LoggedOffByAnotherLogin = false; })) {
    connect(&MessageHistory, &History::Problem, this, &Messenger::Say);
}

Messenger::~Messenger() = default;

void Messenger::LogIn() {
    Backoff.Reset();
    RateLimited = false;
    StartLogin();
}

void Messenger::StartLogin() {
    ReconnectTimer->Stop();
    SetState(Connection::LoggingIn);
    Session.ConnectReconnect(GlobalSettings.LoginURL, GlobalSettings.LoginPort);
}

void Messenger::SetReconnecting(bool reconnecting) {
    Reconnecting = reconnecting;
}

void Messenger::OpenHistory() {
    if (std::exchange(HistoryOpened, true) || !MessageHistory.Open() || Kind != Outbox::Resumed) {
        return;
    }
    ResumeOutbox();
}

void Messenger::TakeUpLastRun() {
    if (MessageHistory.IsMarkedWaiting()) {
        OpenHistory();
    }
}

void Messenger::ResumeOutbox() {
    int unknown = 0;
    for (const auto state : {MessageState::Sending, MessageState::NoAnswerYet}) {
        for (auto record : MessageHistory.InState(state)) {
            record.Become(MessageState::Unknown, Now());
            record.Detail = tr("%1 ended before the SMS gateway answered").arg(ProductInfo::Name);
            unknown += Save(record, state) ? 1 : 0;
        }
    }
    std::deque<qint64> resumed;
    for (auto record : MessageHistory.InState(MessageState::Queued)) {
        if (Pending.contains(record.Id)) {
            continue;
        }
        if (record.Origin != MessageOrigin::Window) {
            // Its command has gone, and with it whoever would learn how it went.
            record.Become(MessageState::NotSent, Now());
            record.Detail = tr("the command that asked for it ended before it was sent");
            Save(record, MessageState::Queued);
            continue;
        }
        Pending.insert(record.Id, record);
        resumed.push_back(record.Id);
    }
    Queue.insert(Queue.begin(), resumed.begin(), resumed.end());
    ClearWaitingMarkWhenDone();
    if (unknown > 0) {
        Say(tr("%1 of the last run may not have been delivered: see Message History").arg(Messages(unknown)));
    }
    if (!resumed.empty() && Current != Connection::Ready) {
        Say(tr("%1 queued in the last run will be sent when connected")
                .arg(Messages(static_cast<qsizetype>(resumed.size()))));
    }
    SendQueued();
}

void Messenger::WatchNetwork() {
    if (std::exchange(WatchingNetwork, true) ||
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        return;
    }
    connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
                if (reachability == QNetworkInformation::Reachability::Online) {
                    NetworkReachable();
                }
            });
}

void Messenger::NetworkReachable() {
    // A server that said the logins came too fast still gets its ten minutes.
    if (Current == Connection::WaitingToReconnect && !RateLimited) {
        StartLogin();
    }
}

std::optional<qint64> Messenger::Submit(const OutgoingMessage& message) {
    if (const auto problem = Problem(message)) {
        Say(*problem);
        return std::nullopt;
    }
    const auto entry = message.Entry.trimmed();
    if (TelephoneList::Remember(entry)) {
        emit NumbersChanged();
    }
    MessageRecord record;
    record.Made = record.Changed = Now();
    record.Entry = entry;
    record.Destination = TelephoneList::DestinationOf(entry)->Number;
    record.Sender = message.Sender;
    record.Text = message.Text;
    record.Origin = message.Origin;
    const auto id = Enqueue(record);
    // A command logs in for this message alone: that it waits for the login goes without saying.
    if (Current != Connection::Ready && message.Origin != MessageOrigin::CommandLine) {
        Say(tr("Queued: the message will be sent when connected"));
    }
    SendQueued();
    return id;
}

std::optional<qint64> Messenger::SendAgain(qint64 id) {
    const auto record = MessageHistory.Find(id);
    if (!record) {
        return std::nullopt;
    }
    return Submit({record->Entry, record->Sender, record->Text, MessageOrigin::Window});
}

void Messenger::Withdraw(qint64 id, const QString& reason) {
    const auto queued = std::find(Queue.begin(), Queue.end(), id);
    if (queued == Queue.end()) {
        return;
    }
    Queue.erase(queued);
    const auto record = Pending.value(id);
    const auto line = Dated(tr("The message to %1 was not sent: %2").arg(record.Destination, reason));
    // Whoever waits for this message hears the line with its outcome; the status list after.
    Finish(record, MessageState::NotSent, {line}, reason);
    emit Line(line);
}

std::optional<QString> Messenger::Problem(const OutgoingMessage& message) {
    const auto entry = message.Entry.trimmed();
    if (entry.isEmpty()) {
        return tr("No number to send to");
    }
    if (!TelephoneList::DestinationOf(entry)) {
        return tr("Not a phone number: %1").arg(entry);
    }
    // A blank SMS is billed like any other, and tells its reader nothing.
    if (message.Sender.isEmpty() && message.Text.isEmpty()) {
        return tr("No message to send");
    }
    const auto problem = SmsText::Problem(message.Sender.toStdU16String(), message.Text.toStdU16String());
    return problem ? std::optional(QString::fromStdU16String(*problem)) : std::nullopt;
}

std::optional<qint64> Messenger::Enqueue(MessageRecord record) {
    OpenHistory();
    if (Kind == Outbox::Resumed) {
        // Before the row: whatever happens to this run, the next start knows to look.
        MessageHistory.MarkWaiting(true);
    }
    record.Id = MessageHistory.Add(record).value_or(--UnrecordedIds);
    Pending.insert(record.Id, record);
    Queue.push_back(record.Id);
    emit MessageChanged(record);
    return record.Id;
}

void Messenger::SendQueued() {
    while (Current == Connection::Ready && !Queue.empty()) {
        const auto id = Queue.front();
        Queue.pop_front();
        if (!SendNow(Pending.value(id))) {
            Queue.push_front(id);
            return;
        }
    }
}

bool Messenger::SendNow(MessageRecord record) {
    // Recorded before it is written: whatever happens next, this message is never sent again by itself.
    record.Become(MessageState::Sending, Now());
    if (!Save(record, MessageState::Queued)) {
        Pending.remove(record.Id);
        return true;
    }
    Pending.insert(record.Id, record);
    const auto text = SmsText::Compose(record.Sender.toStdU16String(), record.Text.toStdU16String());
    const auto attempt = TelephoneList::Send(Session, record.Destination, text, record.Id);
    switch (attempt.What) {
    case SendAttempt::Kind::Written:
        Waiting.push_back(record.Id);
        return true;
    case SendAttempt::Kind::NotConnected:
        // Nothing reached the server: the message waits for the next login.
        record.Become(MessageState::Queued, Now());
        Save(record);
        Pending.insert(record.Id, record);
        return false;
    case SendAttempt::Kind::NotBuilt:
        break;
    }
    const auto reason = QString::fromStdU16String(attempt.Reason);
    Finish(record, MessageState::NotSent, {Dated(reason)}, reason);
    return true;
}

void Messenger::Finish(MessageRecord record, MessageState state, const QStringList& lines,
                       const QString& detail) {
    record.Become(state, Now());
    record.Detail = detail;
    Save(record);
    Pending.remove(record.Id);
    ClearWaitingMarkWhenDone();
    emit MessageFinished(record, lines);
}

bool Messenger::Save(const MessageRecord& record, std::optional<MessageState> from) {
    const bool saved = record.Id <= 0 || !MessageHistory.IsOpen() || MessageHistory.Update(record, from) ||
                       !from || !WithdrawnElsewhere(record.Id, *from);
    if (saved) {
        emit MessageChanged(record);
    }
    return saved;
}

bool Messenger::WithdrawnElsewhere(qint64 id, MessageState expected) {
    // Not written: either the file failed, which it says itself, or the stored state is another.
    const auto stored = MessageHistory.Find(id);
    return stored && stored->State != expected;
}

void Messenger::ReportMessage(const std::u16string& Message) {
    LastSessionLine = QString::fromStdU16String(Message);
    emit SessionLine(LastSessionLine);
}

void Messenger::NotReadyToSendMessage() {
    LoseWaitingRequests();
    if (Current == Connection::Ready) {
        SetState(Connection::NotConnected);
    }
}

void Messenger::ReadyToSendMessage() {
    Backoff.Connected();
    RateLimited = false;
    SetState(Connection::Ready);
    SendQueued();
}

void Messenger::MustReconnect() {
    LoseWaitingRequests();
    ScheduleLogin(SessionFailure::ConnectionLost, StatusLine::Undated(LastSessionLine));
}

void Messenger::MessageAnswered(RequestTag tag, const SmsAnswer& answer,
                                const std::vector<std::u16string>& lines) {
    const auto waiting = std::find(Waiting.begin(), Waiting.end(), tag);
    if (waiting == Waiting.end()) {
        return;
    }
    Waiting.erase(waiting);
    auto record = Pending.value(tag);
    record.Code = answer.Code;
    switch (answer.Outcome) {
    case SmsOutcome::Delivered:
        Finish(record, MessageState::Delivered, Texts(lines));
        break;
    case SmsOutcome::NotDelivered:
        Finish(record, MessageState::NotDelivered, Texts(lines));
        break;
    case SmsOutcome::Refused:
        Finish(record, MessageState::Refused, Texts(lines), QString::fromStdU16String(answer.ServerText));
        break;
    case SmsOutcome::NoResult:
        // The gateway took it and said nothing of its fate: it may well arrive.
        Finish(record, MessageState::Unknown, Texts(lines),
               tr("the SMS gateway answered without a delivery result"));
        break;
    }
}

void Messenger::AnswerOverdue(RequestTag tag) {
    if (std::find(Waiting.begin(), Waiting.end(), tag) == Waiting.end()) {
        return;
    }
    auto record = Pending.value(tag);
    record.Become(MessageState::NoAnswerYet, Now());
    Save(record);
    Pending.insert(record.Id, record);
}

void Messenger::SessionFailed(const SessionEnd& end) {
    LoseWaitingRequests();
    if (!YieldToAnotherLogin(end)) {
        ScheduleLogin(end.Kind, QString::fromStdU16String(end.Reason));
    }
}

bool Messenger::YieldToAnotherLogin(const SessionEnd& end) {
    if (end.Kind != SessionFailure::AnotherLogin) {
        return false;
    }
    AnotherLoginTimer->Start(AnotherLoginWindow);
    if (!std::exchange(LoggedOffByAnotherLogin, true)) {
        return false;
    }
    const auto reason = tr("another login with this account logged this one off twice in %1")
                            .arg(DurationText(AnotherLoginWindow));
    SetState(Connection::WaitingForUser);
    Say(tr("Not logging in again: %1; choose Reconnect to take the account back").arg(reason));
    WithdrawCommandMessages(reason);
    return true;
}

void Messenger::LoseWaitingRequests() {
    for (const auto id : std::exchange(Waiting, {})) {
        const auto record = Pending.value(id);
        const auto reason = tr("the connection was lost before the SMS gateway answered");
        const auto line =
            Dated(tr("The message to %1 may not have been delivered: %2; Message History can send "
                     "it again")
                      .arg(record.Destination, reason));
        Finish(record, MessageState::Unknown, {line}, reason);
        emit Line(line);
    }
}

void Messenger::ScheduleLogin(SessionFailure failure, const QString& reason) {
    // The rest of a login that already failed, a close after a reset, say, changes nothing.
    if (Current == Connection::WaitingToReconnect || Current == Connection::WaitingForUser) {
        return;
    }
    if (failure == SessionFailure::AccountRefused || !Reconnecting) {
        SetState(failure == SessionFailure::AccountRefused ? Connection::WaitingForUser
                                                           : Connection::NotConnected);
        WithdrawCommandMessages(reason);
        return;
    }
    RateLimited = failure == SessionFailure::RateLimited;
    WatchNetwork();
    const auto wait = Backoff.Next(failure);
    ReconnectTimer->Start(wait);
    SetState(Connection::WaitingToReconnect);
    Say(tr("Reconnecting in %1").arg(DurationText(wait)));
}

void Messenger::WithdrawCommandMessages(const QString& reason) {
    const auto queued = Queue;
    for (const auto id : queued) {
        if (Pending.value(id).Origin != MessageOrigin::Window) {
            Withdraw(id, reason);
        }
    }
}

void Messenger::ClearWaitingMarkWhenDone() {
    if (Kind == Outbox::Resumed && Pending.isEmpty()) {
        MessageHistory.MarkWaiting(false);
    }
}

void Messenger::SetState(Connection state) {
    if (std::exchange(Current, state) != state) {
        emit ConnectionChanged(state);
    }
}

QDateTime Messenger::Now() const {
    return LocaleStatusClock::DateTimeOf(Clock.Now());
}

QString Messenger::Dated(const QString& message) const {
    return StatusLine::Dated(Clock, message);
}

void Messenger::Say(const QString& message) {
    emit Line(Dated(message));
}

} // namespace pagewing
