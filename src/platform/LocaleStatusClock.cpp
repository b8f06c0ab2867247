#include "platform/LocaleStatusClock.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace pagewing {

std::u16string LocaleStatusClock::CurrentDateTimeText() const {
    const auto locale = QLocale::system();
    const auto now = QDateTime::currentDateTime();
    // The long time format ends in the time zone's name, which a status line does not need.
    auto timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*$")));
    return (locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
            locale.toString(now.time(), timeFormat))
        .toStdU16String();
}

} // namespace pagewing
