#pragma once

#include "platform/SendRequest.h"

#include <QString>
#include <QStringList>

#include <chrono>

namespace pagewing {

// What the command line asks of the program: the window (no arguments), a message sent from the shell or a
// script, or help, version and usage errors.
struct CommandLine {
    enum class Kind { Window, Send, Help, Version, Error };

    static constexpr std::chrono::seconds DefaultTimeout{60};

    Kind What = Kind::Window;
    SendRequest Request;
    // The message comes from standard input (MESSAGE left out or "-").
    bool MessageFromInput = false;
    std::chrono::seconds Timeout = DefaultTimeout;
    // Another settings file than the user's own, for a script that keeps an account of its own.
    QString SettingsFile;
    // The help or version text, or what is wrong with the arguments.
    QString Text;

    // The arguments as QCoreApplication::arguments() gives them, the program's name first.
    static CommandLine Parse(const QStringList& arguments);
};

} // namespace pagewing
