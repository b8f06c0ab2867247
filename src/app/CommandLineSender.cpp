#include "app/CommandLineSender.h"

#include "service/TelephoneList.h"

#include <QTimer>

#include <algorithm>

namespace pagewing {

CommandLineSender::CommandLineSender(CommandLineOutput& output)
    : Output(output)
    , Session(Auth, Service, Clock, Timers, Relay)
    , Messages(Session, Clock, Timers, Records, Messenger::Outbox::OwnOnly) {
    Relay.RelayTo(Messages);
    // One login: a command that cannot log in says so and ends, and its caller decides about another try.
    Messages.SetReconnecting(false);
    connect(&Messages, &Messenger::SessionLine, this, &CommandLineSender::SessionLine);
    connect(&Messages, &Messenger::Line, this, &CommandLineSender::ServiceLine);
    connect(&Messages, &Messenger::MessageChanged, this, &CommandLineSender::Changed);
    connect(&Messages, &Messenger::MessageFinished, this, &CommandLineSender::Finished);
}

CommandLineSender::~CommandLineSender() = default;

SendExit CommandLineSender::Run(const QList<SendRequest>& requests, std::chrono::seconds timeout) {
    QTimer::singleShot(timeout, &Loop, [this, timeout] { TimedOut(timeout); });
    Messages.OpenHistory();
    for (const auto& request : requests) {
        if (const auto id = Messages.Submit(
                {request.Number, request.Sender, request.Message, MessageOrigin::CommandLine})) {
            Entries.insert(*id, TelephoneList::DestinationOf(request.Number)->Number);
        } else {
            Worst = std::max(Worst, SendExit::Unsendable);
        }
    }
    if (!Entries.isEmpty()) {
        Messages.LogIn();
        if (!Entries.isEmpty()) {
            Loop.exec();
        }
    }
    PrintHeld();
    return Worst;
}

void CommandLineSender::SessionLine(const QString& line) {
    // The line right after a request is written tells how the write went.
    if (const auto id = std::exchange(Writing, 0); id != 0) {
        Output.Line(line, Entries.value(id), QStringLiteral("sending"));
        return;
    }
    // A line may be the first of an answer, which names its message only after its lines.
    Held.append(line);
    QMetaObject::invokeMethod(this, &CommandLineSender::PrintHeld, Qt::QueuedConnection);
}

void CommandLineSender::ServiceLine(const QString& line) {
    if (!Attributed.contains(line)) {
        Output.Line(line);
    }
}

void CommandLineSender::Changed(const MessageRecord& record) {
    if (!Entries.contains(record.Id)) {
        return;
    }
    if (record.State == MessageState::Sending) {
        PrintHeld();
        Writing = record.Id;
        Sent.insert(record.Id);
    } else if (record.State == MessageState::NoAnswerYet) {
        for (const auto& line : std::exchange(Held, {})) {
            Output.Line(line, Entries.value(record.Id), StateName(record.State));
        }
    }
}

void CommandLineSender::Finished(const MessageRecord& record, const QStringList& lines) {
    if (!Entries.contains(record.Id)) {
        return;
    }
    // What came before and tells of no message, the line of a refused login, say, comes first.
    for (const auto& line : std::exchange(Held, {})) {
        if (!lines.contains(line)) {
            Output.Line(line);
        }
    }
    for (const auto& line : lines) {
        Output.Line(line, Entries.value(record.Id), StateName(record.State));
        Attributed.append(line);
    }
    End(record.Id,
        Expired && record.State == MessageState::NotSent ? SendExit::NotSentInTime : ExitFor(record.State));
}

void CommandLineSender::PrintHeld() {
    for (const auto& line : std::exchange(Held, {})) {
        Output.Line(line);
    }
}

void CommandLineSender::TimedOut(std::chrono::seconds timeout) {
    Expired = true;
    const auto waiting = Entries.keys();
    for (const auto id : waiting) {
        if (Sent.contains(id)) {
            End(id, SendExit::NoAnswer);
        } else {
            // Recorded as not sent, and never sent later by anyone.
            Messages.Withdraw(id, tr("no login within %1").arg(DurationText(timeout)));
        }
    }
}

void CommandLineSender::End(qint64 id, SendExit outcome) {
    if (Entries.remove(id)) {
        Worst = std::max(Worst, outcome);
    }
    if (Entries.isEmpty()) {
        Loop.quit();
    }
}

} // namespace pagewing
