#include "service/HandedOverSends.h"

#include "platform/HandOverReply.h"
#include "service/MessageWatch.h"
#include "service/Messenger.h"

#include <QPointer>

namespace pagewing {

namespace {

QString StoppedWaiting() {
    return QObject::tr("the command stopped waiting");
}

} // namespace

HandedOverSends::HandedOverSends(Messenger& messages, QObject* parent)
    : QObject(parent)
    , Messages(messages) {}

void HandedOverSends::Add(const SendRequest& request, HandOverReply* reply) {
    const OutgoingMessage message{request.Number, request.Sender, request.Message, MessageOrigin::HandedOver};
    const auto problem = Messenger::Problem(message);
    if (problem || Messages.State() == Messenger::Connection::WaitingForUser) {
        // Refused at once: the text makes no sense, or no login will come until the user mends the account.
        reply->Finish(problem ? SendExit::Unsendable : SendExit::LoginFailed,
                      problem.value_or(Messages.StateText()));
        return;
    }
    // The watch goes with the reply, when the command goes away.
    auto* watch = new MessageWatch(Messages, reply);
    connect(watch, &MessageWatch::Reported, reply, [reply](const StatusReport& report) {
        reply->WriteReport(report.Kind(), report.Destination, report.Line);
    });
    connect(watch, &MessageWatch::Sent, reply, &HandOverReply::Sent);
    connect(watch, &MessageWatch::Finished, reply,
            [reply](const MessageRecord& record, SendExit exit) { reply->Finish(exit, record.Detail); });
    // The command hands over its next message once this one is in the outbox, so they go out in its order.
    reply->Taken();
    const auto id = *Messages.Submit(message, watch);
    connect(reply, &HandOverReply::WithdrawRequested, this, [this, id, reply] { StopWaiting(id, reply); });
    connect(reply, &QObject::destroyed, this,
            [this, id] { Messages.Withdraw(id, StoppedWaiting(), SendExit::NotSentInTime); });
}

void HandedOverSends::StopWaiting(qint64 id, HandOverReply* reply) {
    const QPointer<HandOverReply> waiting(reply);
    if (!Messages.Withdraw(id, StoppedWaiting(), SendExit::NotSentInTime) && waiting) {
        waiting->Finish(SendExit::NoAnswer, tr("sent; the command stopped waiting for its answer"));
    }
}

} // namespace pagewing
