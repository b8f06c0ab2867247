#pragma once

#include <string>
#include <vector>

namespace pagewing {

// How the gateway answered one SMS request. NoResult: an SMS response without a deliverable marker.
enum class SmsOutcome { Delivered, NotDelivered, Refused, NoResult };

// What the session tells its owner. Every event is raised synchronously, in the middle of the session's own
// step; the owner's handler runs to its end before the session goes on.
class SMSSenderEvents {
public:
    virtual ~SMSSenderEvents() = default;

    // A finished status line: date and time, four spaces, the message.
    virtual void ReportMessage(const std::u16string& Message) = 0;
    virtual void NotReadyToSendMessage() {}
    virtual void ReadyToSendMessage() {}
    // Writing to a connection failed; only a new login helps.
    virtual void MustReconnect() {}
    // The oldest request still waiting was answered; raised after the status lines that say how, which it
    // repeats.
    virtual void MessageAnswered(SmsOutcome, const std::vector<std::u16string>&) {}
    // The login failed, stalled, or lost its service connection; the line that says why is already reported
    // and only a new login helps.
    virtual void SessionFailed() {}
};

} // namespace pagewing
