#include "gateway-sim/Reporter.h"

#include <QFileDevice>

namespace pagewing::sim {

Reporter::Reporter(QIODevice& smsOutput, QIODevice& diagnostics, const bool verbose)
    : SmsOutput(smsOutput)
    , Diagnostics(diagnostics)
    , Verbose(verbose) {}

void Reporter::ReportSms(const QStringView destination, const QStringView text) {
    WriteLine(SmsOutput,
              QStringLiteral("SMS to %1: %2").arg(EscapeForOneLine(destination), EscapeForOneLine(text)));
}

void Reporter::Note(const QStringView line) {
    WriteLine(Diagnostics, QStringLiteral("%1: %2").arg(QLatin1String(ProgramName), line));
}

void Reporter::Trace(const QStringView line) {
    if (Verbose) {
        Note(line);
    }
}

QString Reporter::EscapeForOneLine(const QStringView text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar character : text) {
        switch (character.unicode()) {
        case u'\\':
            escaped.append(QLatin1String("\\\\"));
            break;
        case u'\r':
            escaped.append(QLatin1String("\\r"));
            break;
        case u'\n':
            escaped.append(QLatin1String("\\n"));
            break;
        default:
            escaped.append(character);
        }
    }
    return escaped;
}

void Reporter::WriteLine(QIODevice& device, const QStringView line) {
    device.write((line.toString() + QLatin1Char('\n')).toUtf8());
    if (auto* const file = qobject_cast<QFileDevice*>(&device)) {
        file->flush();
    }
}

} // namespace pagewing::sim
