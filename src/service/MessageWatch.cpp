#include "service/MessageWatch.h"

#include "service/Messenger.h"

namespace pagewing {

MessageWatch::MessageWatch(Messenger& messages, QObject* parent)
    : QObject(parent) {
    connect(&messages, &Messenger::Reported, this, &MessageWatch::Report);
    connect(&messages, &Messenger::MessageChanged, this, &MessageWatch::Changed);
    connect(&messages, &Messenger::MessageFinished, this, &MessageWatch::Ended);
}

void MessageWatch::Watch(qint64 id) {
    Open.insert(id);
}

void MessageWatch::Report(const StatusReport& report) {
    if (report.Message == 0 ? !Open.isEmpty() : Open.contains(report.Message)) {
        emit Reported(report);
    }
}

void MessageWatch::Changed(const MessageRecord& record) {
    if (record.State == MessageState::Sending && Open.contains(record.Id)) {
        emit Sent(record.Id);
    }
}

void MessageWatch::Ended(const MessageRecord& record, SendExit exit) {
    if (Open.remove(record.Id) > 0) {
        emit Finished(record, exit);
    }
}

} // namespace pagewing
