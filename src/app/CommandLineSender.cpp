#include "app/CommandLineSender.h"

#include "service/Messenger.h"

#include <QTimer>

namespace pagewing {

CommandLineSender::CommandLineSender(CommandLineOutput& output)
    : Output(output)
    , Stack(MessagingStack::FrontEnd::Command)
    , Watch(Stack.Messages()) {
    connect(&Watch, &MessageWatch::Reported, this, [this](const StatusReport& report) {
        Output.Line(report.Line, report.Destination, report.Kind());
    });
    connect(&Watch, &MessageWatch::Finished, this, [this](const MessageRecord& record, SendExit exit) {
        Ended.insert(record.Id, {exit, record.Detail});
        if (Watch.IsEmpty()) {
            Loop.quit();
        }
    });
}

CommandLineSender::~CommandLineSender() = default;

QList<MessageOutcome> CommandLineSender::Run(const QList<SendRequest>& requests,
                                             std::chrono::milliseconds timeout) {
    auto& messages = Stack.Messages();
    QTimer::singleShot(timeout, &Loop, [this, timeout] { TimedOut(timeout); });
    messages.OpenHistory();
    QList<std::optional<qint64>> ids;
    for (const auto& request : requests) {
        ids.append(messages.Submit(
            {request.Number, request.Sender, request.Message, MessageOrigin::CommandLine}, &Watch));
    }
    if (!Watch.IsEmpty()) {
        messages.LogIn();
        if (!Watch.IsEmpty()) {
            Loop.exec();
        }
    }
    QList<MessageOutcome> outcomes;
    for (int at = 0; at < ids.size(); ++at) {
        const auto problem = Messenger::Problem({requests.at(at).Number, requests.at(at).Sender,
                                                 requests.at(at).Message, MessageOrigin::CommandLine});
        outcomes.append(ids.at(at) ? Ended.value(*ids.at(at), {SendExit::NoAnswer, {}})
                                   : MessageOutcome{SendExit::Unsendable, problem.value_or(QString())});
    }
    return outcomes;
}

void CommandLineSender::TimedOut(std::chrono::milliseconds timeout) {
    auto& messages = Stack.Messages();
    const auto seconds = DurationText(timeout);
    for (const auto id : Watch.Watched()) {
        messages.Withdraw(id, tr("no login within %1").arg(seconds), SendExit::NotSentInTime);
    }
    // Those sent may still be answered, but not to this command, which ends now.
    messages.GiveUpWaiting(tr("no answer within %1").arg(seconds));
    Loop.quit();
}

} // namespace pagewing
