#include "gateway-sim/GatewaySimulator.h"
#include "gateway-sim/OptionsParser.h"
#include "gateway-sim/Reporter.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

constexpr int ListenFailed = 1;
constexpr int BadOptions = 2;

} // namespace

int main(int argc, char* argv[]) {
    using namespace pagewing::sim;

    const QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QLatin1String(Reporter::ProgramName));

    // Unbuffered, so a line reaches the reading program the moment it is written.
    QFile standardOutput;
    QFile standardError;
    standardOutput.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    standardError.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);

    const auto parsed = OptionsParser::Parse(QCoreApplication::arguments());
    Reporter reporter(standardOutput, standardError, parsed.Settings.Verbose);
    switch (parsed.What) {
    case OptionsParser::Outcome::Kind::Help:
    case OptionsParser::Outcome::Kind::Version:
        standardOutput.write(parsed.Message.toUtf8());
        return 0;
    case OptionsParser::Outcome::Kind::Error:
        reporter.Note(QStringLiteral("%1\nTry '%2 --help' for the options.")
                          .arg(parsed.Message, QLatin1String(Reporter::ProgramName)));
        return BadOptions;
    case OptionsParser::Outcome::Kind::Run:
        break;
    }

    GatewaySimulator simulator(parsed.Settings, reporter);
    if (!simulator.Start()) {
        reporter.Note(simulator.ErrorString());
        return ListenFailed;
    }
    reporter.Note(simulator.ListeningLine());
    return QCoreApplication::exec();
}
