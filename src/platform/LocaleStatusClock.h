#pragma once

#include "session/StatusClock.h"

#include <QDateTime>

namespace pagewing {

// The local date and time as the user's locale writes them: the short date, a space, the time with seconds.
class LocaleStatusClock : public StatusClock {
public:
    std::u16string CurrentDateTimeText() const override;

    // A moment of any status clock as Qt keeps it.
    static QDateTime DateTimeOf(std::chrono::system_clock::time_point moment);
};

} // namespace pagewing
