#include "platform/PasswordCommand.h"

#include <utility>

namespace pagewing {

namespace {

// The first line, without its line break.
QString FirstLine(const QByteArray& output) {
    auto line = QString::fromLocal8Bit(output.left(output.indexOf('\n')));
    if (line.endsWith(u'\r')) {
        line.chop(1);
    }
    return line;
}

} // namespace

void PasswordCommand::Run(const QString& command, QObject& owner, Handler done) {
    // Owned by the owner until it has answered, then deleted.
    new PasswordCommand(command, owner, std::move(done));
}

PasswordCommand::PasswordCommand(const QString& command, QObject& owner, Handler done)
    : QObject(&owner)
    , Done(std::move(done)) {
    connect(&Shell, &QProcess::finished, this, &PasswordCommand::Finished);
    connect(&Shell, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            Answer({std::nullopt, tr("could not be started (%1)").arg(Shell.errorString())});
        }
    });
    Expiry.setSingleShot(true);
    connect(&Expiry, &QTimer::timeout, this, [this] {
        TimedOut = true;
        Shell.kill();
    });
    Expiry.start(TimeOut);
    Shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    // A command that reads standard input gets its end at once rather than waiting for ever.
    Shell.closeWriteChannel();
}

void PasswordCommand::Finished(int exitCode, QProcess::ExitStatus status) {
    if (TimedOut) {
        Answer({std::nullopt, tr("gave no password within %1 seconds").arg(TimeOut.count())});
    } else if (status != QProcess::NormalExit) {
        Answer({std::nullopt, tr("stopped before it ended") + ErrorOutput()});
    } else if (exitCode != 0) {
        Answer({std::nullopt, tr("ended with exit status %1").arg(exitCode) + ErrorOutput()});
    } else if (const auto password = FirstLine(Shell.readAllStandardOutput()); password.isEmpty()) {
        Answer({std::nullopt, tr("gave no password") + ErrorOutput()});
    } else {
        Answer({password, {}});
    }
}

QString PasswordCommand::ErrorOutput() {
    const auto said = QString::fromLocal8Bit(Shell.readAllStandardError()).trimmed().section(u'\n', 0, 0);
    return said.isEmpty() ? QString() : QStringLiteral(": ") + said.left(120);
}

void PasswordCommand::Answer(const Result& result) {
    Expiry.stop();
    if (Done) {
        std::exchange(Done, {})(result);
    }
    deleteLater();
}

} // namespace pagewing
