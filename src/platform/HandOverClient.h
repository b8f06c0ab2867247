#pragma once

#include "platform/SendRequest.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QList>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLocalSocket;

namespace pagewing {

// The side of `pagewing --send` that hands its messages to the running window, each on a connection of its
// own: one after the other, each once the window has the one before in its outbox, so that they go out in the
// command's order; then it waits for them all. What the window says of each comes back as it comes. When the
// time-out passes, the command asks the window for the last word on each message still open: one not yet sent
// is then never sent, and one sent may still arrive.
class HandOverClient : public QObject {
    Q_OBJECT

public:
    // A status line the window reports about one of the messages, or about its login.
    struct Report {
        // What it tells: "status", "sending", "delivered" ...
        QString Kind;
        // Where the message goes, as sent; empty for a line about no message.
        QString Destination;
        QString Line;
    };
    using ReportHandler = std::function<void(const Report& report)>;

    // How long the window has to give the last word once the command stops waiting.
    static constexpr std::chrono::seconds LastWordTime{2};

    // Hands the messages over and gives their outcomes in the order of the requests; none when no window
    // runs. A window that goes away before it took every message leaves the rest to the command, and the
    // outcomes stop short of the requests.
    static std::optional<QList<MessageOutcome>>
    Run(const QList<SendRequest>& requests, std::chrono::milliseconds timeout, ReportHandler onReport);

private:
    struct HandedOver;

    explicit HandOverClient(ReportHandler onReport);
    ~HandOverClient() override;

    // Connects and hands the message over; false when no window took it.
    bool HandOver(const SendRequest& request, const QDeadlineTimer& deadline);
    // Asks for the last word on every message still open, and waits for it a little.
    void StopWaiting();
    QList<MessageOutcome> Outcomes() const;
    void Read(HandedOver& message);
    // Runs the event loop until done() holds or the deadline passes; false on the deadline.
    bool WaitUntil(const std::function<bool()>& done, const QDeadlineTimer& deadline);
    bool AllEnded() const;

    ReportHandler OnReport;
    QEventLoop Loop;
    std::vector<std::unique_ptr<HandedOver>> Messages;
};

} // namespace pagewing
