#pragma once

#include "platform/SendRequest.h"
#include "service/MessageRecord.h"

namespace pagewing {

// How a command that asked for a message ends once the message has: a refusal is a message not delivered,
// and one whose answer may never come is one without an answer. A message not sent ends as whoever ended it
// says (Messenger::Withdraw); this is the exit of the states alone.
SendExit ExitFor(MessageState state);

} // namespace pagewing
