#pragma once

#include "platform/LocaleStatusClock.h"
#include "platform/QtSessionSocket.h"
#include "platform/QtSessionTimers.h"
#include "platform/SendRequest.h"
#include "session/SMSSender.h"
#include "session/SMSSenderEvents.h"

#include <QEventLoop>
#include <QObject>

#include <chrono>
#include <functional>
#include <optional>

namespace pagewing {

// Sends one message with no window at all: logs in with the stored settings, passes on every status line as
// it comes, sends once the login has finished, waits for the gateway's answer and ends, closing both
// connections. Needs a QCoreApplication, not a display.
class CommandLineSender : public QObject, private SMSSenderEvents {
    Q_OBJECT

public:
    using LineSink = std::function<void(const QString& line)>;

    explicit CommandLineSender(LineSink onLine);
    ~CommandLineSender() override;

    // Why the request cannot be sent as it is: no number, a character the wire cannot carry, or more than
    // the allowance. Nothing is sent for it.
    static std::optional<QString> Problem(const SendRequest& request);

    // The stored login settings must be complete; runs until the outcome is known or the time-out passes.
    SendExit Run(const SendRequest& request, std::chrono::seconds timeout);

private:
    void ReportMessage(const std::u16string& Message) override;
    void ReadyToSendMessage() override;
    void MustReconnect() override;
    void MessageAnswered(SmsOutcome answer, const std::vector<std::u16string>& lines) override;
    void SessionFailed() override;
    void Finish(SendExit outcome);

    const LineSink OnLine;
    QtSessionSocket Auth;
    QtSessionSocket Service;
    LocaleStatusClock Clock;
    QtSessionTimers Timers;
    SMSSender Session;
    QEventLoop Loop;
    SendRequest Request;
    bool Sent = false;
    std::optional<SendExit> Outcome;
};

} // namespace pagewing
