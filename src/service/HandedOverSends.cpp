#include "service/HandedOverSends.h"

#include "platform/HandOverReply.h"
#include "service/Messenger.h"

namespace pagewing {

HandedOverSends::HandedOverSends(Messenger& messages, QObject* parent)
    : QObject(parent)
    , Messages(messages) {
    connect(&Messages, &Messenger::MessageChanged, this, &HandedOverSends::Changed);
    connect(&Messages, &Messenger::Line, this, &HandedOverSends::Line);
    connect(&Messages, &Messenger::SessionLine, this, &HandedOverSends::Line);
    connect(&Messages, &Messenger::MessageFinished, this, &HandedOverSends::Finished);
}

void HandedOverSends::Add(const SendRequest& request, HandOverReply* reply) {
    Arriving = reply;
    const auto id =
        Messages.Submit({request.Number, request.Sender, request.Message, MessageOrigin::HandedOver});
    Arriving = nullptr;
    if (!id) {
        // The line that says why has reached it already.
        reply->Finish(SendExit::Unsendable);
        return;
    }
    connect(reply, &QObject::destroyed, this, [this, id = *id] {
        if (HandOvers.remove(id)) {
            Messages.Withdraw(id, tr("the command that asked for it stopped waiting"));
        }
    });
}

void HandedOverSends::Line(const QString& line) {
    QList<HandOverReply*> readers;
    if (Arriving) {
        readers.append(Arriving);
    }
    for (const auto& [id, handOver] : HandOvers.asKeyValueRange()) {
        if (handOver.Reply && (handOver.Queued || id == Writing) && !readers.contains(handOver.Reply)) {
            readers.append(handOver.Reply);
        }
    }
    for (auto* reader : readers) {
        reader->WriteLine(line);
    }
    Writing = 0;
}

void HandedOverSends::Changed(const MessageRecord& record) {
    if (record.Origin != MessageOrigin::HandedOver || record.IsFinished()) {
        return;
    }
    if (!HandOvers.contains(record.Id)) {
        if (!Arriving) {
            return;
        }
        HandOvers.insert(record.Id, {Arriving, true});
    }
    auto& handOver = HandOvers[record.Id];
    handOver.Queued = record.State == MessageState::Queued;
    if (record.State == MessageState::Sending) {
        Writing = record.Id;
        if (handOver.Reply) {
            handOver.Reply->Sent();
        }
    }
}

void HandedOverSends::Finished(const MessageRecord& record, const QStringList& lines) {
    const auto handOver = HandOvers.take(record.Id);
    if (!handOver.Reply) {
        return;
    }
    for (const auto& line : lines) {
        handOver.Reply->WriteLine(line);
    }
    handOver.Reply->Finish(ExitFor(record.State));
}

} // namespace pagewing
