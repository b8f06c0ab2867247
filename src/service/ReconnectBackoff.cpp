#include "service/ReconnectBackoff.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace pagewing {

ReconnectBackoff::ReconnectBackoff(Spread spread, std::function<Clock::time_point()> now)
    : SpreadFactor(std::move(spread))
    , Now(std::move(now)) {}

std::chrono::milliseconds ReconnectBackoff::Next(SessionFailure failure) {
    if (ConnectedAt && Now() - *ConnectedAt >= StableConnection) {
        Failures = 0;
    }
    ConnectedAt.reset();
    const auto factor = SpreadFactor();
    const auto doublings = std::min(Failures++, 16);
    if (failure == SessionFailure::RateLimited) {
        // Spread only upwards: a server that counts logins counts every early one against us.
        return std::chrono::duration_cast<std::chrono::milliseconds>(RateLimitWait *
                                                                     (1.0 + std::abs(factor - 1.0)));
    }
    const auto wait = std::min<std::chrono::milliseconds>(FirstWait * (1 << doublings), LongestWait);
    return std::chrono::duration_cast<std::chrono::milliseconds>(wait * factor);
}

void ReconnectBackoff::Connected() {
    ConnectedAt = Now();
}

void ReconnectBackoff::Reset() {
    Failures = 0;
    ConnectedAt.reset();
}

ReconnectBackoff::Spread ReconnectBackoff::RandomSpread() {
    return [engine = std::mt19937(std::random_device()()),
            factor = std::uniform_real_distribution<double>(0.8, 1.2)]() mutable {
        return factor(engine);
    };
}

} // namespace pagewing
