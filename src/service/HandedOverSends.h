#pragma once

#include "platform/SendRequest.h"

#include <QObject>

namespace pagewing {

class HandOverReply;
class Messenger;

// Messages that `pagewing --send` handed to the running window. Each goes into the window's outbox as the
// window's own would; the command hears the lines about its message, and about the login while it waits to go
// out, then how it ended. A command that stops waiting takes its message out of the outbox, if it is still
// there, so that a message the command gave up on never goes out later. A window that waits for the user
// (the account was refused) takes none.
class HandedOverSends : public QObject {
    Q_OBJECT

public:
    explicit HandedOverSends(Messenger& messages, QObject* parent = nullptr);

    void Add(const SendRequest& request, HandOverReply* reply);

private:
    // Stops waiting for the message: it is not sent if it has not gone out; if it has, its answer may still
    // come, and the command ends without it.
    void StopWaiting(qint64 id, HandOverReply* reply);

    Messenger& Messages;
};

} // namespace pagewing
