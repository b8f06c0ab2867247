#pragma once

#include "session/SMSSenderEvents.h"

#include <QString>

namespace pagewing {

// One SMS asked for from the command line: the number box's text (a number, or a name and the number),
// the sender name and the message, before they are composed into the text that is sent.
struct SendRequest {
    QString Number;
    QString Sender;
    QString Message;
};

// How `pagewing --send` ends; the numbers are its exit status.
enum class SendExit {
    Delivered = 0,
    NotDelivered = 1,
    Unsendable = 2,
    LoginFailed = 3,
    NoAnswer = 4,
};

// The exit status for the gateway's answer: a refusal is a message not delivered.
inline SendExit ExitFor(SmsOutcome answer) {
    return answer == SmsOutcome::Delivered ? SendExit::Delivered : SendExit::NotDelivered;
}

} // namespace pagewing
