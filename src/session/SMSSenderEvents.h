#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagewing {

// The owner's name for one SMS request, which every event about that request carries.
using RequestTag = std::int64_t;

// How the gateway answered one SMS request. NoResult: an SMS response without a deliverable marker.
enum class SmsOutcome { Delivered, NotDelivered, Refused, NoResult };

// The gateway's answer to one request: for a refusal also the server's code (the meta reply's result, or
// the error code of a SNAC error) and the server's own printable text, if it sent any.
struct SmsAnswer {
    SmsOutcome Outcome = SmsOutcome::Delivered;
    int Code = 0;
    std::u16string ServerText;
};

// Why a login ended or a session was lost, which decides whether trying again can help.
enum class SessionFailure {
    // The network or the server: a later login may well succeed.
    ConnectionLost,
    // The account or the settings were refused (a bad password, an unknown ICQ number, a suspended account,
    // a port that is no port): only the user can mend them.
    AccountRefused,
    // The server refused a login that came too soon after others; it wants minutes, not seconds.
    RateLimited,
    // The server logged us off because the same account logged in elsewhere: logging in again takes the
    // account back from that other login.
    AnotherLogin,
};

// How a session or a login ended.
struct SessionEnd {
    SessionFailure Kind = SessionFailure::ConnectionLost;
    // The status line that said why, undated.
    std::u16string Reason;
    // The server's error code; 0 when it sent none.
    int Code = 0;
    // The server's own printable text, when it sent one.
    std::u16string ServerText;
};

// What the session tells its owner. Every event is raised synchronously, in the middle of the session's own
// step; the owner's handler runs to its end before the session goes on.
class SMSSenderEvents {
public:
    virtual ~SMSSenderEvents() = default;

    // A finished status line about no request in particular: date and time, four spaces, the message.
    virtual void ReportMessage(const std::u16string& Message) = 0;
    // A finished status line about one request.
    virtual void ReportRequestMessage(RequestTag, const std::u16string& Message) { ReportMessage(Message); }
    virtual void NotReadyToSendMessage() {}
    virtual void ReadyToSendMessage() {}
    // Writing to a connection failed; only a new login helps.
    virtual void MustReconnect() {}
    // The request was answered; raised after the status lines that say how, which it repeats.
    virtual void MessageAnswered(RequestTag, const SmsAnswer&, const std::vector<std::u16string>&) {}
    // The request has waited too long for its answer; raised after the line that says so. The answer may
    // still come.
    virtual void AnswerOverdue(RequestTag) {}
    // The login failed, stalled, or lost its service connection; the line that says why is already reported
    // and only a new login helps.
    virtual void SessionFailed(const SessionEnd&) {}
};

} // namespace pagewing
