#pragma once

#include "app/CommandLineOutput.h"
#include "platform/SendRequest.h"
#include "service/MessageWatch.h"
#include "service/MessagingStack.h"

#include <QEventLoop>
#include <QHash>
#include <QObject>

#include <chrono>

namespace pagewing {

// Sends messages with no window at all: logs in once with the stored settings, hands each message to the
// messaging service, which records it and sends it once the login has finished, waits for the gateway's
// answers and ends, closing both connections. The lines about its messages, and the login's while one of them
// waits to go out, go to the output as they come. Needs a QCoreApplication, not a display.
class CommandLineSender : public QObject {
    Q_OBJECT

public:
    explicit CommandLineSender(CommandLineOutput& output);
    ~CommandLineSender() override;

    // The stored login settings must be complete. Runs until every message has ended or the time-out passes,
    // which ends the rest: a message not yet sent is not sent, one sent is left to arrive or not. Gives the
    // outcome of each message in the order of the requests.
    QList<MessageOutcome> Run(const QList<SendRequest>& requests, std::chrono::milliseconds timeout);

private:
    void TimedOut(std::chrono::milliseconds timeout);

    CommandLineOutput& Output;
    MessagingStack Stack;
    MessageWatch Watch;
    QEventLoop Loop;
    QHash<qint64, MessageOutcome> Ended;
};

} // namespace pagewing
