#pragma once

#include <string>
#include <vector>

namespace pagewing {

// How the gateway answered one SMS request. NoResult: an SMS response without a deliverable marker.
enum class SmsOutcome { Delivered, NotDelivered, Refused, NoResult };

// The gateway's answer to one request: for a refusal also the meta reply's result code and the server's own
// printable text, if it sent any.
struct SmsAnswer {
    SmsOutcome Outcome = SmsOutcome::Delivered;
    int Code = 0;
    std::u16string ServerText;
};

// Why a login ended or a session was lost, which decides whether trying again can help.
enum class SessionFailure {
    // The network or the server: a later login may well succeed.
    ConnectionLost,
    // The account or the settings were refused (a bad password, an unknown ICQ number, a port that is no
    // port):
    // only the user can mend them.
    AccountRefused,
    // The server refused a login that came too soon after others; it wants minutes, not seconds.
    RateLimited,
};

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
    virtual void MessageAnswered(const SmsAnswer&, const std::vector<std::u16string>&) {}
    // The oldest request not yet reported overdue has waited too long for its answer; raised after the line
    // that says so. The answer may still come.
    virtual void AnswerOverdue() {}
    // The login failed, stalled, or lost its service connection; the line that says why is already reported
    // and only a new login helps.
    virtual void SessionFailed(SessionFailure) {}
};

} // namespace pagewing
