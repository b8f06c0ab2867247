#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace pagewing {

// A single-shot timer on the owner's event loop. The session keeps one only while something is pending, so
// an idle session has no timer running.
class SessionTimer {
public:
    using TimeoutHandler = std::function<void()>;

    virtual ~SessionTimer() = default;
    // Fires once, Interval from now; a running timer starts over.
    virtual void Start(std::chrono::milliseconds Interval) = 0;
    virtual void Stop() = 0;
};

// Makes the session's timers; destroying a timer stops it.
class SessionTimerFactory {
public:
    virtual ~SessionTimerFactory() = default;
    virtual std::unique_ptr<SessionTimer> CreateTimer(SessionTimer::TimeoutHandler OnTimeout) = 0;
};

} // namespace pagewing
