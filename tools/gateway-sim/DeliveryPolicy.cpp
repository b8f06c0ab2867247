#include "gateway-sim/DeliveryPolicy.h"

#include <algorithm>

namespace pagewing::sim {

std::optional<DeliveryPolicy::Mode> DeliveryPolicy::ModeFromName(const QStringView name) {
    if (name == u"always") {
        return Mode::Always;
    }
    if (name == u"never") {
        return Mode::Never;
    }
    if (name == u"by-number") {
        return Mode::ByNumber;
    }
    if (name == u"refuse") {
        return Mode::Refuse;
    }
    if (name == u"silent") {
        return Mode::Silent;
    }
    if (name == u"deny") {
        return Mode::Deny;
    }
    return std::nullopt;
}

bool DeliveryPolicy::IsPhoneNumber(const QStringView destination) {
    const auto digits = destination.startsWith(u'+') ? destination.sliced(1) : destination;
    return digits.size() >= 7 && digits.size() <= 15 &&
           std::all_of(digits.begin(), digits.end(), [](const QChar c) { return c >= u'0' && c <= u'9'; });
}

DeliveryPolicy::Answer DeliveryPolicy::AnswerFor(const QStringView destination) const {
    switch (Rule) {
    case Mode::Always:
        return Answer::Deliverable;
    case Mode::ByNumber:
        return IsPhoneNumber(destination) ? Answer::Deliverable : Answer::NotDeliverable;
    case Mode::Never:
    case Mode::Refuse:
    case Mode::Silent:
    case Mode::Deny:
        break;
    }
    return AnswerForUnreadable();
}

DeliveryPolicy::Answer DeliveryPolicy::AnswerForUnreadable() const {
    switch (Rule) {
    case Mode::Refuse:
        return Answer::Refusal;
    case Mode::Silent:
        return Answer::None;
    case Mode::Deny:
        return Answer::Denial;
    case Mode::Always:
    case Mode::Never:
    case Mode::ByNumber:
        break;
    }
    return Answer::NotDeliverable;
}

} // namespace pagewing::sim
