#pragma once

#include <QIODevice>
#include <QString>
#include <QStringView>

namespace pagewing::sim {

// Where the simulator's lines go: SMS requests to one device (standard output, so a test script can read
// them apart from the chatter), notes and the --verbose trace to another (standard error). Every line is
// written whole and flushed at once, because the reader is usually another program waiting for it.
class Reporter {
public:
    static constexpr const char* ProgramName = "pagewing-gateway-sim";

    Reporter(QIODevice& smsOutput, QIODevice& diagnostics, bool verbose);

    void ReportSms(QStringView destination, QStringView text);
    void Note(QStringView line);
    // Callers check IsVerbose first when the line is costly to build.
    void Trace(QStringView line);
    bool IsVerbose() const { return Verbose; }

    // Keeps one request on one line: backslash, carriage return and line feed become \\, \r and \n.
    static QString EscapeForOneLine(QStringView text);

private:
    static void WriteLine(QIODevice& device, QStringView line);

    QIODevice& SmsOutput;
    QIODevice& Diagnostics;
    const bool Verbose;
};

} // namespace pagewing::sim
