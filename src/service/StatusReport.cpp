#include "service/StatusReport.h"

#include "service/StatusLine.h"

namespace pagewing {

QString StatusReport::Shown() const {
    if (Destination.isEmpty()) {
        return Line;
    }
    return StatusLine::WithMessage(Line, Destination + QStringLiteral(": ") + StatusLine::Undated(Line));
}

QString StatusReport::Kind() const {
    return State ? StateName(*State) : QStringLiteral("status");
}

} // namespace pagewing
