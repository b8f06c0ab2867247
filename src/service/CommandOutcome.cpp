#include "service/CommandOutcome.h"

namespace pagewing {

SendExit ExitFor(MessageState state) {
    switch (state) {
    case MessageState::Delivered:
        return SendExit::Delivered;
    case MessageState::NotDelivered:
    case MessageState::Refused:
        return SendExit::NotDelivered;
    case MessageState::NotSent:
        return SendExit::LoginFailed;
    case MessageState::Queued:
        return SendExit::NotSentInTime;
    case MessageState::Sending:
    case MessageState::NoAnswerYet:
    case MessageState::Unknown:
        break;
    }
    return SendExit::NoAnswer;
}

} // namespace pagewing
