#pragma once

#include "platform/SendRequest.h"
#include "service/MessageRecord.h"

#include <QHash>
#include <QObject>
#include <QPointer>

namespace pagewing {

class HandOverReply;
class Messenger;

// Messages that `pagewing --send` handed to the running window. Each goes into the window's outbox as the
// window's own would; while it waits there, the command sees the status lines of the login, then the line of
// its sending, the lines of its outcome and how it ended. A command that stops waiting takes its message out
// of the outbox, if it is still there, so that a message the command gave up on never goes out later.
class HandedOverSends : public QObject {
    Q_OBJECT

public:
    explicit HandedOverSends(Messenger& messages, QObject* parent = nullptr);

    void Add(const SendRequest& request, HandOverReply* reply);

private:
    struct HandOver {
        QPointer<HandOverReply> Reply;
        bool Queued = true;
    };

    // A status line of the window, of the session or of the service.
    void Line(const QString& line);
    void Changed(const MessageRecord& record);
    void Finished(const MessageRecord& record, const QStringList& lines);

    Messenger& Messages;
    QHash<qint64, HandOver> HandOvers;
    // The command whose message is being taken now: it sees the line that queues or refuses it.
    QPointer<HandOverReply> Arriving;
    // The message being written now, whose command also sees the one line that tells how the write went.
    qint64 Writing = 0;
};

} // namespace pagewing
