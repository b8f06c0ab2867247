#pragma once

#include <string>

namespace pagewing {

// The date and time that heads every status line, as the user's locale writes them.
class StatusClock {
public:
    virtual ~StatusClock() = default;
    virtual std::u16string CurrentDateTimeText() const = 0;
};

} // namespace pagewing
