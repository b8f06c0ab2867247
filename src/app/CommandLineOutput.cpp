#include "app/CommandLineOutput.h"

#include "service/MessageRecord.h"
#include "service/StatusLine.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace pagewing {

CommandLineOutput::CommandLineOutput(Format format, bool quiet, std::FILE* output, std::FILE* errors)
    : Shape(format)
    , Quiet(quiet)
    , Output(output)
    , Errors(errors) {}

void CommandLineOutput::Line(const QString& line, const QString& number, const QString& kind) {
    const auto text = StatusLine::Undated(line);
    if (Shape == Format::Json) {
        const QJsonObject object{
            {QStringLiteral("time"), IsoTime(QDateTime::currentDateTime(), Qt::ISODateWithMs)},
            {QStringLiteral("number"), number.isEmpty() ? QJsonValue() : QJsonValue(number)},
            {QStringLiteral("kind"), kind},
            {QStringLiteral("text"), text}};
        Record(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    } else if (number.isEmpty()) {
        Record(line);
    } else {
        // The date keeps its column; the number comes first in what the line says.
        Record(StatusLine::WithMessage(line, number + QStringLiteral(": ") + text));
    }
}

void CommandLineOutput::Record(const QString& text) {
    if (Quiet) {
        HeldBack.append(text);
    } else {
        Write(text);
    }
}

void CommandLineOutput::Error(const QString& message) {
    std::fputs(qUtf8Printable(QStringLiteral("pagewing: ") + message + u'\n'), Errors);
    std::fflush(Errors);
}

int CommandLineOutput::Finish(SendExit outcome) {
    if (outcome != SendExit::Delivered) {
        for (const auto& text : std::exchange(HeldBack, {})) {
            Write(text);
        }
    }
    return static_cast<int>(outcome);
}

void CommandLineOutput::Write(const QString& text) {
    std::fputs(qUtf8Printable(text + u'\n'), Output);
    // A script reading a pipe sees each line when it happens, not when the command ends.
    std::fflush(Output);
}

} // namespace pagewing
