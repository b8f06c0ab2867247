#include "app/CommandLineSender.h"

#include <QTimer>

namespace pagewing {

CommandLineSender::CommandLineSender(LineSink onLine)
    : OnLine(std::move(onLine))
    , Session(Auth, Service, Clock, Timers, Relay)
    , Messages(Session, Clock, Timers, Records, Messenger::Outbox::OwnOnly) {
    Relay.RelayTo(Messages);
    // One login: a command that cannot log in says so and ends, and its caller decides about another try.
    Messages.SetReconnecting(false);
    connect(&Messages, &Messenger::Line, this, OnLine);
    connect(&Messages, &Messenger::SessionLine, this, OnLine);
    connect(&Messages, &Messenger::MessageChanged, this, [this](const MessageRecord& record) {
        Sent = Sent || (record.Id == Id && record.State == MessageState::Sending);
    });
    connect(&Messages, &Messenger::MessageFinished, this, [this](const MessageRecord& record) {
        if (record.Id == Id) {
            Finish(ExitFor(record.State));
        }
    });
}

CommandLineSender::~CommandLineSender() = default;

SendExit CommandLineSender::Run(const SendRequest& request, std::chrono::seconds timeout) {
    QTimer::singleShot(timeout, &Loop, [this, timeout] { TimedOut(timeout); });
    Messages.OpenHistory();
    Id = Messages.Submit({request.Number, request.Sender, request.Message, MessageOrigin::CommandLine});
    if (!Id) {
        return SendExit::Unsendable;
    }
    Messages.LogIn();
    if (!Outcome) {
        Loop.exec();
    }
    return *Outcome;
}

void CommandLineSender::TimedOut(std::chrono::seconds timeout) {
    Finish(Sent ? SendExit::NoAnswer : SendExit::NotSentInTime);
    // Recorded as not sent, and never sent later by anyone.
    Messages.Withdraw(*Id, tr("no login within %1 seconds").arg(timeout.count()));
}

void CommandLineSender::Finish(SendExit outcome) {
    if (!Outcome) {
        Outcome = outcome;
        Loop.quit();
    }
}

} // namespace pagewing
