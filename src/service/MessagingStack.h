#pragma once

#include "platform/LocaleStatusClock.h"
#include "platform/QtSessionSocket.h"
#include "platform/QtSessionTimers.h"
#include "service/SessionRelay.h"

#include <QObject>

#include <memory>

namespace pagewing {

class HandedOverSends;
class History;
class Messenger;
class SMSSender;

// The messaging service as a front end uses it, put together in one place for the window and the command
// line alike: the two connections, the session over them, the history, the messaging service that the
// session's events reach, and for the window the messages that `pagewing --send` hands over. Taken apart in
// one order too: the hand-overs, then the session (whose last events the service still hears), then the
// service and the history.
class MessagingStack : public QObject {
    Q_OBJECT

public:
    enum class FrontEnd {
        // Takes up what runs that are gone left, logs in again by itself, takes hand-overs.
        Window,
        // Sends its own messages with one login.
        Command,
    };

    explicit MessagingStack(FrontEnd frontEnd, QObject* parent = nullptr);
    ~MessagingStack() override;

    Messenger& Messages() { return *Service; }
    // The window's only.
    HandedOverSends* HandOvers() { return HandOverSends.get(); }

private:
    QtSessionSocket Authorization;
    QtSessionSocket ServiceConnection;
    LocaleStatusClock Clock;
    QtSessionTimers Timers;
    SessionRelay Relay;
    std::unique_ptr<History> Records;
    std::unique_ptr<SMSSender> Session;
    std::unique_ptr<Messenger> Service;
    std::unique_ptr<HandedOverSends> HandOverSends;
};

} // namespace pagewing
