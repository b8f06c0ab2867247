#pragma once

#include "session/SessionTimer.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace pagewing::test {

// Timers on a clock that only moves when the test says so: Advance fires, in order of their deadlines, the
// timers that fall due, so a 60-second wait takes no time at all.
class FakeSessionTimers : public SessionTimerFactory {
public:
    using Clock = std::chrono::milliseconds;

    std::unique_ptr<SessionTimer> CreateTimer(SessionTimer::TimeoutHandler OnTimeout) override {
        return std::make_unique<Timer>(*this, std::move(OnTimeout));
    }

    void Advance(Clock by) {
        const auto until = Now + by;
        while (auto* next = NextDue(until)) {
            Now = *next->Deadline;
            next->Deadline.reset();
            next->OnTimeout();
        }
        Now = until;
    }

    // How far the clock has moved since the start.
    Clock Elapsed() const { return Now; }

    std::size_t RunningTimers() const {
        return static_cast<std::size_t>(std::count_if(
            All.begin(), All.end(), [](const auto* timer) { return timer->Deadline.has_value(); }));
    }

private:
    struct Timer : SessionTimer {
        Timer(FakeSessionTimers& owner, TimeoutHandler onTimeout)
            : Owner(owner)
            , OnTimeout(std::move(onTimeout)) {
            Owner.All.push_back(this);
        }
        ~Timer() override { std::erase(Owner.All, this); }
        Timer(const Timer&) = delete;
        Timer& operator=(const Timer&) = delete;

        void Start(std::chrono::milliseconds Interval) override { Deadline = Owner.Now + Interval; }
        void Stop() override { Deadline.reset(); }

        FakeSessionTimers& Owner;
        TimeoutHandler OnTimeout;
        std::optional<Clock> Deadline;
    };

    Timer* NextDue(Clock until) const {
        Timer* next = nullptr;
        for (auto* timer : All) {
            if (timer->Deadline && *timer->Deadline <= until &&
                (!next || *timer->Deadline < *next->Deadline)) {
                next = timer;
            }
        }
        return next;
    }

    Clock Now{0};
    std::vector<Timer*> All;
};

} // namespace pagewing::test
