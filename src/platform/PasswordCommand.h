#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

namespace pagewing {

// A shell command whose first line of output is the password, as mail and sync programs take one: a
// password manager, or a file only its owner can read, then keeps the password, and cron or ssh, where no
// keyring can be reached, still log in. Standard error is kept for the note when it fails.
class PasswordCommand : public QObject {
    Q_OBJECT

public:
    struct Result {
        std::optional<QString> Password;
        // Why there is none: what went wrong, and what the command said on standard error.
        QString Failure;
    };
    using Handler = std::function<void(const Result& result)>;

    static constexpr std::chrono::seconds TimeOut{30};

    // Runs the command through /bin/sh, answering later on the event loop, once. The command object lives
    // under the owner until then.
    static void Run(const QString& command, QObject& owner, Handler done);

private:
    PasswordCommand(const QString& command, QObject& owner, Handler done);

    void Finished(int exitCode, QProcess::ExitStatus status);
    void Answer(const Result& result);
    QString ErrorOutput();

    QProcess Shell;
    QTimer Expiry;
    Handler Done;
    bool TimedOut = false;
};

} // namespace pagewing
