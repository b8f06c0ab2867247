#include "service/StatusLine.h"

#include "session/StatusClock.h"

namespace pagewing::StatusLine {

namespace {

constexpr auto Separator = QLatin1String("    ");

} // namespace

QString Dated(const StatusClock& clock, const QString& message) {
    return QString::fromStdU16String(clock.CurrentDateTimeText()) + Separator + message;
}

QString Undated(const QString& line) {
    const auto separator = line.indexOf(Separator);
    return separator < 0 ? line : line.mid(separator + Separator.size());
}

QString WithMessage(const QString& line, const QString& message) {
    const auto separator = line.indexOf(Separator);
    return separator < 0 ? message : line.left(separator) + Separator + message;
}

} // namespace pagewing::StatusLine
