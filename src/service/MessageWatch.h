#pragma once

#include "platform/SendRequest.h"
#include "service/MessageRecord.h"
#include "service/StatusReport.h"

#include <QHash>
#include <QObject>

namespace pagewing {

class Messenger;

// What a command that asked for messages hears of them, as the messaging service tags its lines: every line
// about one of them, and the lines about no message in particular (the login's, a reconnect's) while one of
// them still waits to go out; when one was written to the server; and how each ended, with the exit status it
// gives the command.
class MessageWatch : public QObject {
    Q_OBJECT

public:
    explicit MessageWatch(Messenger& messages, QObject* parent = nullptr);

    // Watches a message from now until it ends; Messenger::Submit calls it before the first line about it.
    void Watch(qint64 id);
    // Whether every message watched has ended.
    bool IsEmpty() const { return Open.isEmpty(); }
    // The messages watched that have not ended.
    QList<qint64> Watched() const { return Open.keys(); }

signals:
    void Reported(const pagewing::StatusReport& report);
    // The request went out: from now on the message may arrive, whatever else is heard.
    void Sent(qint64 id);
    void Finished(const pagewing::MessageRecord& record, pagewing::SendExit exit);

private:
    void Report(const StatusReport& report);
    void Changed(const MessageRecord& record);
    void Ended(const MessageRecord& record, SendExit exit);

    // Each message watched and not ended, and whether it still waits to go out.
    QHash<qint64, bool> Open;
};

} // namespace pagewing
