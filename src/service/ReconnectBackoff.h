#pragma once

#include "session/SMSSenderEvents.h"

#include <chrono>
#include <functional>
#include <optional>

namespace pagewing {

// How long to wait before logging in again after a login failed or a connection was lost: 2 seconds, then
// twice as long each time up to 5 minutes, and at least 10 minutes after the server said the logins came too
// fast. Each wait is spread by up to a fifth either way, so that clients that lost the same server do not all
// come back in the same second. A connection that stayed up for a minute starts the count over; one that the
// server drops at once does not, so two clients fighting over one account slow down instead of taking turns
// every two seconds.
class ReconnectBackoff {
public:
    using Clock = std::chrono::steady_clock;
    // A factor from 0.8 to 1.2.
    using Spread = std::function<double()>;

    static constexpr std::chrono::seconds FirstWait{2};
    static constexpr std::chrono::seconds LongestWait{300};
    static constexpr std::chrono::seconds RateLimitWait{600};
    static constexpr std::chrono::seconds StableConnection{60};

    explicit ReconnectBackoff(Spread spread = RandomSpread(),
                              std::function<Clock::time_point()> now = Clock::now);

    // The wait before the next login, for a failure of this kind; each call counts one more failure.
    std::chrono::milliseconds Next(SessionFailure failure);
    // The login succeeded.
    void Connected();
    // The user asked for a login: the next failure waits the first wait again.
    void Reset();

    static Spread RandomSpread();

private:
    Spread SpreadFactor;
    std::function<Clock::time_point()> Now;
    int Failures = 0;
    std::optional<Clock::time_point> ConnectedAt;
};

} // namespace pagewing
