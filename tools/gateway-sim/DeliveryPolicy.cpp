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
    return std::nullopt;
}

bool DeliveryPolicy::IsPhoneNumber(const QStringView destination) {
    const auto digits = destination.startsWith(u'+') ? destination.sliced(1) : destination;
    return digits.size() >= 7 && digits.size() <= 15 &&
           std::all_of(digits.begin(), digits.end(), [](const QChar c) { return c >= u'0' && c <= u'9'; });
}

bool DeliveryPolicy::IsDeliverable(const QStringView destination) const {
    switch (Rule) {
    case Mode::Always:
        return true;
    case Mode::Never:
        return false;
    case Mode::ByNumber:
        return IsPhoneNumber(destination);
    }
    return false;
}

} // namespace pagewing::sim
