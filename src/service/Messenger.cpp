#include "service/Messenger.h"

#include "platform/LocaleStatusClock.h"
#include "platform/ProductInfo.h"
#include "service/CommandOutcome.h"
#include "service/History.h"
#include "service/MessageWatch.h"
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

} // namespace

QString DurationText(std::chrono::milliseconds wait) {
    const auto count = [](long long number, const QString& unit) {
        return number == 1 ? QStringLiteral("1 ") + unit : QStringLiteral("%1 %2s").arg(number).arg(unit);
    };
    const auto seconds = std::max<long long>(1, std::llround(static_cast<double>(wait.count()) / 1000.0));
    const auto second = QStringLiteral("second");
    const auto minute = QStringLiteral("minute");
    if (seconds < 60) {
        return count(seconds, second);
    }
    // A wait someone may sit out is told to the second; a longer one (a server's "too fast", a command's
    // time-out) in whole minutes.
    if (seconds >= 600) {
        return count(std::llround(static_cast<double>(seconds) / 60.0), minute);
    }
    const auto minutes = count(seconds / 60, minute);
    return seconds % 60 == 0 ? minutes : minutes + u' ' + count(seconds % 60, second);
}

Messenger::Messenger(SMSSender& session, const StatusClock& clock, SessionTimerFactory& timers,
                     History& history, Outbox outbox, QString run, ReconnectBackoff backoff, QObject* parent)
    : QObject(parent)
    , Session(session)
    , Clock(clock)
    , MessageHistory(history)
    , Kind(outbox)
    , Run(std::move(run))
    , Backoff(std::move(backoff))
    , ReconnectTimer(timers.CreateTimer([this] { StartLogin(); }))
    , AnotherLoginTimer(timers.CreateTimer([this] { LoggedOffByAnotherLogin = false; }))
    , CurrentText(tr("Not connected")) {
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
    SetState(Connection::LoggingIn, tr("Logging in"));
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
            if (!IsOrphan(record)) {
                continue;
            }
            record.Become(MessageState::Unknown, Now());
            record.Detail = tr("%1 ended before the SMS gateway answered").arg(ProductInfo::Name);
            unknown += Save(record, state) ? 1 : 0;
        }
    }
    std::deque<qint64> resumed;
    for (auto record : MessageHistory.InState(MessageState::Queued)) {
        if (Pending.contains(record.Id) || !IsOrphan(record)) {
            continue;
        }
        if (record.Origin != MessageOrigin::Window) {
            // Its command has gone, and with it whoever would learn how it went.
            record.Become(MessageState::NotSent, Now());
            record.Detail = tr("the command that asked for it ended before it was sent");
            Save(record, MessageState::Queued);
            continue;
        }
        // Taken over: from now on this run answers for it.
        record.Run = OwnRun();
        Pending.insert(record.Id, record);
        resumed.push_back(record.Id);
    }
    Queue.insert(Queue.begin(), resumed.begin(), resumed.end());
    QueueChanged();
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

bool Messenger::IsOrphan(const MessageRecord& record) {
    return record.Run != OwnRun() && !ProgramRun::IsAlive(record.Run);
}

const QString& Messenger::OwnRun() {
    if (Run.isEmpty()) {
        Run = ProgramRun::Own();
    }
    return Run;
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

std::optional<qint64> Messenger::Submit(const OutgoingMessage& message, MessageWatch* watch) {
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
    record.Run = OwnRun();
    const auto id = Enqueue(record, watch);
    // A command logs in for this message alone: that it waits for the login goes without saying.
    if (Current != Connection::Ready && message.Origin != MessageOrigin::CommandLine) {
        Tell(Pending.value(id), tr("Queued: the message will be sent when connected"));
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

bool Messenger::Withdraw(qint64 id, const QString& reason, SendExit exit) {
    const auto queued = std::find(Queue.begin(), Queue.end(), id);
    if (queued == Queue.end()) {
        return false;
    }
    Queue.erase(queued);
    QueueChanged();
    Finish(Pending.value(id), MessageState::NotSent, reason, tr("The message was not sent: %1").arg(reason),
           exit);
    return true;
}

void Messenger::GiveUpWaiting(const QString& reason) {
    for (const auto id : std::exchange(Waiting, {})) {
        Finish(Pending.value(id), MessageState::Unknown, reason,
               tr("The message may not have been delivered: %1").arg(reason), SendExit::NoAnswer);
    }
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

qint64 Messenger::Enqueue(MessageRecord record, MessageWatch* watch) {
    OpenHistory();
    if (Kind == Outbox::Resumed) {
        // Before the row: whatever happens to this run, the next start knows to look.
        MessageHistory.MarkWaiting(true);
    }
    record.Id = MessageHistory.Add(record).value_or(--UnrecordedIds);
    if (watch != nullptr) {
        watch->Watch(record.Id);
    }
    Pending.insert(record.Id, record);
    Queue.push_back(record.Id);
    emit MessageChanged(record);
    QueueChanged();
    return record.Id;
}

void Messenger::SendQueued() {
    while (Current == Connection::Ready && !Queue.empty()) {
        const auto id = Queue.front();
        Queue.pop_front();
        if (!SendNow(Pending.value(id))) {
            Queue.push_front(id);
            break;
        }
    }
    QueueChanged();
}

bool Messenger::SendNow(MessageRecord record) {
    // Recorded before it is written: whatever happens next, this message is never sent again by itself.
    record.Become(MessageState::Sending, Now());
    if (!Save(record, MessageState::Queued)) {
        EndAsStored(record.Id);
        return true;
    }
    Pending.insert(record.Id, record);
    const auto text = SmsText::Compose(record.Sender.toStdU16String(), record.Text.toStdU16String());
    const auto attempt = TelephoneList::Send(Session, record.Destination, text, record.Id);
    switch (attempt.What) {
    case SendAttempt::Kind::Written:
        Waiting.push_back(record.Id);
        ReportHeld(record.Id, record);
        return true;
    case SendAttempt::Kind::NotConnected:
        // Nothing reached the server: the message waits for the next login.
        record.Become(MessageState::Queued, Now());
        Save(record);
        Pending.insert(record.Id, record);
        ReportHeld(record.Id, record);
        return false;
    case SendAttempt::Kind::NotBuilt:
        break;
    }
    // The session's line says why; a command that asked for it learns it was the text.
    Finish(record, MessageState::NotSent, QString::fromStdU16String(attempt.Reason), {},
           SendExit::Unsendable);
    return true;
}

void Messenger::Finish(MessageRecord record, MessageState state, const QString& detail, const QString& line,
                       std::optional<SendExit> exit) {
    record.Become(state, Now());
    record.Detail = detail;
    Save(record);
    Pending.remove(record.Id);
    ReportHeld(record.Id, record);
    if (!line.isEmpty()) {
        Tell(record, line);
    }
    ClearWaitingMarkWhenDone();
    emit MessageFinished(record, exit.value_or(ExitFor(state)));
}

void Messenger::EndAsStored(qint64 id) {
    auto record = Pending.take(id);
    if (const auto stored = MessageHistory.Find(id)) {
        record = *stored;
    }
    // Whoever waits for it still hears how it ended.
    if (record.State == MessageState::NotSent) {
        Tell(record, tr("The message was not sent: %1").arg(record.Detail));
    }
    ClearWaitingMarkWhenDone();
    emit MessageFinished(record, ExitFor(record.State));
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
    ReportAllHeld();
    LastSessionLine = QString::fromStdU16String(Message);
    emit Reported({0, {}, std::nullopt, LastSessionLine});
}

void Messenger::ReportRequestMessage(RequestTag tag, const std::u16string& Message) {
    if (!Pending.contains(tag)) {
        ReportMessage(Message);
        return;
    }
    Held.emplace_back(tag, QString::fromStdU16String(Message));
}

void Messenger::NotReadyToSendMessage() {
    ReportAllHeld();
    LoseWaitingRequests();
    if (Current == Connection::Ready) {
        SetState(Connection::NotConnected, tr("Not connected"));
    }
}

void Messenger::ReadyToSendMessage() {
    ReportAllHeld();
    Backoff.Connected();
    RateLimited = false;
    SetState(Connection::Ready, tr("Ready to send"));
    SendQueued();
}

void Messenger::MustReconnect() {
    ReportAllHeld();
    LoseWaitingRequests();
    ScheduleLogin(SessionFailure::ConnectionLost, StatusLine::Undated(LastSessionLine));
}

void Messenger::MessageAnswered(RequestTag tag, const SmsAnswer& answer, const std::vector<std::u16string>&) {
    const auto waiting = std::find(Waiting.begin(), Waiting.end(), tag);
    if (waiting == Waiting.end()) {
        return;
    }
    Waiting.erase(waiting);
    auto record = Pending.value(tag);
    record.Code = answer.Code;
    switch (answer.Outcome) {
    case SmsOutcome::Delivered:
        Finish(record, MessageState::Delivered);
        break;
    case SmsOutcome::NotDelivered:
        Finish(record, MessageState::NotDelivered);
        break;
    case SmsOutcome::Refused:
        Finish(record, MessageState::Refused, QString::fromStdU16String(answer.ServerText));
        break;
    case SmsOutcome::NoResult:
        // The gateway took it and said nothing of its fate: it may well arrive.
        Finish(record, MessageState::Unknown, tr("the SMS gateway answered without a delivery result"));
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
    ReportHeld(record.Id, record);
}

void Messenger::SessionFailed(const SessionEnd& end) {
    ReportAllHeld();
    Failure = end;
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
    SetState(Connection::WaitingForUser, tr("Not connected: %1").arg(reason));
    Say(tr("Not logging in again: %1; choose Reconnect to take the account back").arg(reason));
    WithdrawCommandMessages(reason);
    return true;
}

void Messenger::LoseWaitingRequests() {
    const auto reason = tr("the connection was lost before the SMS gateway answered");
    for (const auto id : std::exchange(Waiting, {})) {
        Finish(
            Pending.value(id), MessageState::Unknown, reason,
            tr("The message may not have been delivered: %1; Message History can send it again").arg(reason));
    }
}

void Messenger::ScheduleLogin(SessionFailure failure, const QString& reason) {
    // The rest of a login that already failed, a close after a reset, say, changes nothing.
    if (Current == Connection::WaitingToReconnect || Current == Connection::WaitingForUser) {
        return;
    }
    if (failure == SessionFailure::AccountRefused || !Reconnecting) {
        SetState(failure == SessionFailure::AccountRefused ? Connection::WaitingForUser
                                                           : Connection::NotConnected,
                 tr("Not connected: %1").arg(reason));
        WithdrawCommandMessages(reason);
        return;
    }
    RateLimited = failure == SessionFailure::RateLimited;
    WatchNetwork();
    const auto wait = Backoff.Next(failure);
    ReconnectTimer->Start(wait);
    const auto text = tr("Reconnecting in %1").arg(DurationText(wait));
    SetState(Connection::WaitingToReconnect, text);
    Say(text);
}

void Messenger::WithdrawCommandMessages(const QString& reason) {
    const auto queued = Queue;
    for (const auto id : queued) {
        if (Pending.value(id).Origin != MessageOrigin::Window) {
            Withdraw(id, reason, SendExit::LoginFailed);
        }
    }
}

void Messenger::ClearWaitingMarkWhenDone() {
    if (Kind == Outbox::Resumed && Pending.isEmpty()) {
        MessageHistory.MarkWaiting(false);
    }
}

void Messenger::SetState(Connection state, const QString& text) {
    CurrentText = text;
    if (const auto previous = std::exchange(Current, state); previous != state) {
        emit ConnectionChanged(previous, state);
    }
}

void Messenger::QueueChanged() {
    if (const auto queued = Queued(); std::exchange(ReportedQueue, queued) != queued) {
        emit OutboxChanged(queued);
    }
}

void Messenger::ReportHeld(qint64 id, const MessageRecord& record) {
    // Taken out before they are reported: whoever hears one may end another message meanwhile.
    const auto mine =
        std::stable_partition(Held.begin(), Held.end(), [id](const auto& held) { return held.first != id; });
    const std::vector<std::pair<qint64, QString>> lines(std::make_move_iterator(mine),
                                                        std::make_move_iterator(Held.end()));
    Held.erase(mine, Held.end());
    for (const auto& [message, line] : lines) {
        emit Reported({message, record.Destination, record.State, line});
    }
}

void Messenger::ReportAllHeld() {
    while (!Held.empty()) {
        const auto id = Held.front().first;
        ReportHeld(id, Pending.value(id));
    }
}

QDateTime Messenger::Now() const {
    return LocaleStatusClock::DateTimeOf(Clock.Now());
}

QString Messenger::Dated(const QString& message) const {
    return StatusLine::Dated(Clock, message);
}

void Messenger::Say(const QString& message) {
    emit Reported({0, {}, std::nullopt, Dated(message)});
}

void Messenger::Tell(const MessageRecord& record, const QString& message) {
    emit Reported({record.Id, record.Destination, record.State, Dated(message)});
}

} // namespace pagewing
