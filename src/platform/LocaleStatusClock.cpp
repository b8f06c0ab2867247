#include "platform/LocaleStatusClock.h"

#include <QLocale>

namespace pagewing {

std::u16string LocaleStatusClock::CurrentDateTimeText() const {
    const auto locale = QLocale::system();
    const auto now = DateTimeOf(Now());
    // The long time format ends in the time zone's name ("t" to "tttt"), which a status line does not need.
    auto timeFormat = locale.timeFormat(QLocale::LongFormat).trimmed();
    while (timeFormat.endsWith(u't')) {
        timeFormat.chop(1);
    }
    timeFormat = timeFormat.trimmed();
    return (locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
            locale.toString(now.time(), timeFormat))
        .toStdU16String();
}

QDateTime LocaleStatusClock::DateTimeOf(std::chrono::system_clock::time_point moment) {
    return QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count());
}

} // namespace pagewing
