#pragma once

#include <string>

namespace pagewing {

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
};

} // namespace pagewing
