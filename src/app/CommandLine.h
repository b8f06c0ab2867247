#pragma once

#include "platform/SendRequest.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>

namespace pagewing {

// What the command line asks of the program: the window (no arguments), messages sent from the shell or a
// script, the newest messages of the history, or help, version and usage errors.
struct CommandLine {
    enum class Kind { Window, Send, History, Help, Version, Error };

    static constexpr std::chrono::seconds DefaultTimeout{60};
    static constexpr int DefaultLimit = 20;

    Kind What = Kind::Window;
    // One per --send, in the order given; all with the same sender and message.
    QList<SendRequest> Requests;
    // The message comes from standard input (MESSAGE left out or "-").
    bool MessageFromInput = false;
    std::chrono::seconds Timeout = DefaultTimeout;
    // Another settings file than the user's own, for a script that keeps an account of its own.
    QString SettingsFile;
    // A command whose first line of output is the password, for runs where no keyring can be reached.
    QString PasswordCommand;
    // Nothing on standard output unless the command fails.
    bool Quiet = false;
    // One JSON object per line on standard output.
    bool Json = false;
    // How many history rows --history prints.
    int Limit = DefaultLimit;
    // The help or version text, or what is wrong with the arguments.
    QString Text;

    // The arguments as QCoreApplication::arguments() gives them, the program's name first.
    static CommandLine Parse(const QStringList& arguments);
};

} // namespace pagewing
