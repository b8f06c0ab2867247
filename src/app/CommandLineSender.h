#pragma once

#include "app/CommandLineOutput.h"
#include "platform/LocaleStatusClock.h"
#include "platform/QtSessionSocket.h"
#include "platform/QtSessionTimers.h"
#include "platform/SendRequest.h"
#include "service/History.h"
#include "service/Messenger.h"
#include "service/SessionRelay.h"
#include "session/SMSSender.h"

#include <QEventLoop>
#include <QHash>
#include <QObject>
#include <QSet>

#include <chrono>

namespace pagewing {

// Sends messages with no window at all: logs in once with the stored settings, hands each message to the
// messaging service, which records it and sends it once the login has finished, waits for the gateway's
// answers and ends, closing both connections. Every status line goes to the output as it comes; a line about
// one message names its number. Needs a QCoreApplication, not a display.
class CommandLineSender : public QObject {
    Q_OBJECT

public:
    explicit CommandLineSender(CommandLineOutput& output);
    ~CommandLineSender() override;

    // The stored login settings must be complete; runs until every outcome is known or the time-out passes,
    // and gives the worst outcome.
    SendExit Run(const QList<SendRequest>& requests, std::chrono::seconds timeout);

private:
    void SessionLine(const QString& line);
    void ServiceLine(const QString& line);
    void Changed(const MessageRecord& record);
    void Finished(const MessageRecord& record, const QStringList& lines);
    // Lines that concerned no message in particular: the login's.
    void PrintHeld();
    void TimedOut(std::chrono::seconds timeout);
    void End(qint64 id, SendExit outcome);

    CommandLineOutput& Output;
    QtSessionSocket Auth;
    QtSessionSocket Service;
    LocaleStatusClock Clock;
    QtSessionTimers Timers;
    SessionRelay Relay;
    SMSSender Session;
    History Records;
    Messenger Messages;
    QEventLoop Loop;
    // The number entry of each message not yet finished, by id.
    QHash<qint64, QString> Entries;
    QSet<qint64> Sent;
    qint64 Writing = 0;
    QStringList Held;
    // Lines printed with the message they concern, which the service repeats for the status list.
    QStringList Attributed;
    SendExit Worst = SendExit::Delivered;
    bool Expired = false;
};

} // namespace pagewing
