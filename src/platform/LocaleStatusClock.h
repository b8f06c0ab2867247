#pragma once

#include "session/StatusClock.h"

namespace pagewing {

// The local date and time as the user's locale writes them: the short date, a space, the time with seconds.
class LocaleStatusClock : public StatusClock {
public:
    std::u16string CurrentDateTimeText() const override;
};

} // namespace pagewing
