#pragma once

#include <QString>

namespace pagewing {
class StatusClock;
}

// A status line as the session writes it and every front end shows it: the local date and time, four
// spaces, the message.
namespace pagewing::StatusLine {

QString Dated(const StatusClock& clock, const QString& message);
// The message alone; a line with no date is all message.
QString Undated(const QString& line);
// The line with another message under its own date and time.
QString WithMessage(const QString& line, const QString& message);

} // namespace pagewing::StatusLine
