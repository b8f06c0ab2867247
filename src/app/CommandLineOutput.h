#pragma once

#include "platform/SendRequest.h"

#include <QString>
#include <QStringList>

#include <cstdio>

namespace pagewing {

// What a command prints: its status lines on standard output as they come, as text or as one JSON object per
// line, and its errors on standard error. Quiet keeps standard output for a failure: a cron job that
// succeeds mails nothing, and one that fails mails the whole story.
class CommandLineOutput {
public:
    enum class Format { Lines, Json };

    CommandLineOutput(Format format, bool quiet, std::FILE* output = stdout, std::FILE* errors = stderr);

    // A dated status line. `number` is the number entry of the message it concerns, if it concerns one;
    // `kind` says what it tells: "status", "sending", or the state a message reached.
    void Line(const QString& line, const QString& number = {},
              const QString& kind = QStringLiteral("status"));
    // One record of any shape, as a line of its own.
    void Record(const QString& text);
    void Error(const QString& message);
    // Ends the output; what quiet held back is printed when the command failed. Gives the exit status.
    int Finish(SendExit outcome);

private:
    void Write(const QString& text);

    const Format Shape;
    const bool Quiet;
    std::FILE* const Output;
    std::FILE* const Errors;
    QStringList HeldBack;
};

} // namespace pagewing
