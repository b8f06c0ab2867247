#pragma once

#include <QString>

namespace pagewing {

// One SMS asked for from the command line: the number box's text (a number, or a name and the number),
// the sender name and the message, before they are composed into the text that is sent.
struct SendRequest {
    QString Number;
    QString Sender;
    QString Message;
};

// How `pagewing --send` ends; the numbers are its exit status. A script may safely try again after 3 and 4,
// when nothing was sent; after 5 the message may still arrive.
enum class SendExit {
    Delivered = 0,
    NotDelivered = 1,
    Unsendable = 2,
    LoginFailed = 3,
    NotSentInTime = 4,
    NoAnswer = 5,
};

// How one message of a command ended: the exit status it gives, and why, where it was not delivered.
struct MessageOutcome {
    SendExit Exit = SendExit::Delivered;
    QString Reason;
};

} // namespace pagewing
