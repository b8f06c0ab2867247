#pragma once

#include "service/MessageRecord.h"

#include <QString>

#include <optional>

namespace pagewing {

// One status line as the messaging service reports it, with the message it tells of, if any. A line about a
// message is tagged where it is made, so that the window, a handed-over command and the command line each
// read the lines of their own messages.
struct StatusReport {
    // The message's id; 0 for a line about no message in particular: the login, the connection.
    qint64 Message = 0;
    // Where the message goes, as sent ("+15551234567"); empty for a line about no message.
    QString Destination;
    // The state the message is in with this line: sending for "Sending message", the outcome for the lines
    // of its answer. None for a line about no message.
    std::optional<MessageState> State;
    // The dated line: date and time, four spaces, what happened.
    QString Line;

    // The line as shown: the destination comes first in what it says, "+15551234567: Sending message".
    QString Shown() const;
    // What it tells, as scripts read it: "status" for a line about no message, else the state's name.
    QString Kind() const;
};

} // namespace pagewing
