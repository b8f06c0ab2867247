#pragma once

#include <chrono>
#include <string>

namespace pagewing {

// The date and time that heads every status line, as the user's locale writes them, and the moment it names,
// which the records of messages keep.
class StatusClock {
public:
    virtual ~StatusClock() = default;
    virtual std::u16string CurrentDateTimeText() const = 0;
    virtual std::chrono::system_clock::time_point Now() const { return std::chrono::system_clock::now(); }
};

} // namespace pagewing
