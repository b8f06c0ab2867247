#pragma once

#include "platform/SendRequest.h"
#include "service/MessageRecord.h"
#include "service/StatusReport.h"

#include <QObject>
#include <QSet>

namespace pagewing {

class Messenger;

// What a command that asked for messages hears of them, as the messaging service tags its lines: every line
// about one of them, and the lines about no message in particular (the login's, a lost connection's) while
// one of them has not ended; when one was written to the server; and how each ended, with the exit status it
// gives the command. Lines about other messages it never hears.
class MessageWatch : public QObject {
    Q_OBJECT

public:
    explicit MessageWatch(Messenger& messages, QObject* parent = nullptr);

    // Watches a message from now until it ends; Messenger::Submit calls it before the first line about it.
    void Watch(qint64 id);
    // Whether every message watched has ended.
    bool IsEmpty() const { return Open.isEmpty(); }
    // The messages watched that have not ended.
    QList<qint64> Watched() const { return Open.values(); }

signals:
    void Reported(const pagewing::StatusReport& report);
    // The message is being written to the server: from now on it may arrive, whatever else is heard. Said
    // before the write, so that a command whose window dies under the write never calls it unsent.
    void Sent(qint64 id);
    void Finished(const pagewing::MessageRecord& record, pagewing::SendExit exit);

private:
    void Report(const StatusReport& report);
    void Changed(const MessageRecord& record);
    void Ended(const MessageRecord& record, SendExit exit);

    QSet<qint64> Open;
};

} // namespace pagewing
