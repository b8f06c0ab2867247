#include "platform/LocaleStatusClock.h"

#include <QLocale>
#include <QRegularExpression>

namespace pagewing {

std::u16string LocaleStatusClock::CurrentDateTimeText() const {
    const auto locale = QLocale::system();
    const auto now = DateTimeOf(Now());
    // The long time format ends in the time zone's name, which a status line does not need. Compiled once:
    // every status line asks for the time, and compiling the pattern cost more than the rest of the line.
    static const QRegularExpression zoneName(QStringLiteral("\\s*t+\\s*$"));
    auto timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(zoneName);
    return (locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
            locale.toString(now.time(), timeFormat))
        .toStdU16String();
}

QDateTime LocaleStatusClock::DateTimeOf(std::chrono::system_clock::time_point moment) {
    return QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count());
}

} // namespace pagewing
