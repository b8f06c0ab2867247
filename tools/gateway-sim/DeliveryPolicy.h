#pragma once

#include <QStringView>

#include <optional>

namespace pagewing::sim {

// Whether the simulated gateway claims it can deliver to a destination.
class DeliveryPolicy {
public:
    enum class Mode { Always, Never, ByNumber };

    // "always", "never" or "by-number", as on the command line.
    static std::optional<Mode> ModeFromName(QStringView name);
    // 7 to 15 ASCII digits with an optional leading '+': the length range of international numbers.
    static bool IsPhoneNumber(QStringView destination);

    explicit DeliveryPolicy(const Mode mode)
        : Rule(mode) {}

    bool IsDeliverable(QStringView destination) const;

private:
    Mode Rule;
};

} // namespace pagewing::sim
