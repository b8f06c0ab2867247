#pragma once

#include "session/SessionTimer.h"

namespace pagewing {

// The session's timers as single-shot QTimers on the thread's event loop.
class QtSessionTimers : public SessionTimerFactory {
public:
    std::unique_ptr<SessionTimer> CreateTimer(SessionTimer::TimeoutHandler OnTimeout) override;
};

} // namespace pagewing
