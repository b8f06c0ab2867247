#pragma once

#include <QStringView>

#include <optional>

namespace pagewing::sim {

// How the simulated gateway answers an SMS request: whether it claims it can deliver to the destination,
// or, like the real servers that have no SMS gateway behind them, refuses or stays silent.
class DeliveryPolicy {
public:
    enum class Mode { Always, Never, ByNumber, Refuse, Silent, Deny };
    // Denial: the ICQ family's SNAC error, request denied, as a server sends to a session it has logged off.
    enum class Answer { Deliverable, NotDeliverable, Refusal, None, Denial };

    // "always", "never", "by-number", "refuse", "silent" or "deny", as on the command line.
    static std::optional<Mode> ModeFromName(QStringView name);
    // 7 to 15 ASCII digits with an optional leading '+': the length range of international numbers.
    static bool IsPhoneNumber(QStringView destination);

    explicit DeliveryPolicy(const Mode mode)
        : Rule(mode) {}

    Answer AnswerFor(QStringView destination) const;
    // A request that cannot be read names no destination: a gateway calls it undeliverable, while a
    // server without one refuses, denies or stays silent as it does for every request.
    Answer AnswerForUnreadable() const;

private:
    Mode Rule;
};

} // namespace pagewing::sim
