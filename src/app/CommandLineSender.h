#pragma once

#include "platform/LocaleStatusClock.h"
#include "platform/QtSessionSocket.h"
#include "platform/QtSessionTimers.h"
#include "platform/SendRequest.h"
#include "service/History.h"
#include "service/Messenger.h"
#include "service/SessionRelay.h"
#include "session/SMSSender.h"

#include <QEventLoop>
#include <QObject>

#include <chrono>
#include <functional>
#include <optional>

namespace pagewing {

// Sends one message with no window at all: logs in once with the stored settings, passes on every status line
// as it comes, hands the message to the messaging service, which records it and sends it once the login has
// finished, waits for the gateway's answer and ends, closing both connections. Needs a QCoreApplication, not
// a display.
class CommandLineSender : public QObject {
    Q_OBJECT

public:
    using LineSink = std::function<void(const QString& line)>;

    explicit CommandLineSender(LineSink onLine);
    ~CommandLineSender() override;

    // The stored login settings must be complete; runs until the outcome is known or the time-out passes.
    SendExit Run(const SendRequest& request, std::chrono::seconds timeout);

private:
    void TimedOut(std::chrono::seconds timeout);
    void Finish(SendExit outcome);

    const LineSink OnLine;
    QtSessionSocket Auth;
    QtSessionSocket Service;
    LocaleStatusClock Clock;
    QtSessionTimers Timers;
    SessionRelay Relay;
    SMSSender Session;
    History Records;
    Messenger Messages;
    QEventLoop Loop;
    std::optional<qint64> Id;
    bool Sent = false;
    std::optional<SendExit> Outcome;
};

} // namespace pagewing
