#include "service/MessageWatch.h"

#include "service/Messenger.h"

#include <algorithm>

namespace pagewing {

MessageWatch::MessageWatch(Messenger& messages, QObject* parent)
    : QObject(parent) {
    connect(&messages, &Messenger::Reported, this, &MessageWatch::Report);
    connect(&messages, &Messenger::MessageChanged, this, &MessageWatch::Changed);
    connect(&messages, &Messenger::MessageWritten, this, [this](qint64 id) {
        if (Open.contains(id)) {
            emit Sent(id);
        }
    });
    connect(&messages, &Messenger::MessageFinished, this, &MessageWatch::Ended);
}

void MessageWatch::Watch(qint64 id) {
    Open.insert(id, true);
}

void MessageWatch::Report(const StatusReport& report) {
    const bool waitingToGoOut = std::any_of(Open.cbegin(), Open.cend(), [](bool queued) { return queued; });
    if (report.Message == 0 ? waitingToGoOut : Open.contains(report.Message)) {
        emit Reported(report);
    }
}

void MessageWatch::Changed(const MessageRecord& record) {
    if (Open.contains(record.Id)) {
        Open[record.Id] = record.State == MessageState::Queued;
    }
}

void MessageWatch::Ended(const MessageRecord& record, SendExit exit) {
    if (Open.remove(record.Id) > 0) {
        emit Finished(record, exit);
    }
}

} // namespace pagewing
