#include "app/CommandLine.h"

#include "session/SmsText.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace pagewing {

namespace {

CommandLine Failure(const QString& reason) {
    CommandLine command;
    command.What = CommandLine::Kind::Error;
    command.Text = reason;
    return command;
}

} // namespace

CommandLine CommandLine::Parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Sends SMS text messages to mobile phones through the SMS gateway of an OSCAR network.\n"
        "\n"
        "Without options it opens its window. With --send it sends one message with the stored "
        "account and ends: through the running window when there is one (its status list shows "
        "the lines), otherwise by itself, with no window and no display needed. Each status line "
        "goes to standard output as it comes; errors go to standard error.\n"
        "\n"
        "Exit status of --send: 0 delivered; 1 not delivered or refused by the server; 2 bad "
        "usage, incomplete settings or a text that cannot be sent (nothing is sent); 3 the "
        "login or the connection failed; 4 no answer within the time-out."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption send(
        QStringLiteral("send"),
        QStringLiteral(
            "Send a message to NUMBER: a mobile number, or a name and the number in one argument "
            "(\"Ann Lee +15551234567\"); the number is added to the stored list as the window does."),
        QStringLiteral("NUMBER"));
    const QCommandLineOption sender(
        QStringLiteral("sender"),
        QStringLiteral("The sender name that heads the message (at most %1 characters; "
                       "name and message share %2).")
            .arg(SmsText::SenderNameLength)
            .arg(SmsText::Allowance),
        QStringLiteral("NAME"));
    const QCommandLineOption timeout(
        QStringLiteral("timeout"),
        QStringLiteral("How long to wait for the login and the gateway's answer. Default: 60."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Read the server and account from this settings file instead "
                       "of the user's own; the window is then never used."),
        QStringLiteral("FILE"));
    parser.addOptions({help, version, send, sender, timeout, settings});
    parser.addPositionalArgument(
        QStringLiteral("MESSAGE"),
        QStringLiteral("With --send: the message; read from standard input when left out or \"-\"."),
        QStringLiteral("[MESSAGE]"));

    if (!parser.parse(arguments)) {
        return Failure(parser.errorText());
    }
    CommandLine command;
    if (parser.isSet(help)) {
        command.What = Kind::Help;
        command.Text = parser.helpText();
        return command;
    }
    if (parser.isSet(version)) {
        command.What = Kind::Version;
        command.Text = QStringLiteral("pagewing ") + QCoreApplication::applicationVersion();
        return command;
    }
    const auto words = parser.positionalArguments();
    if (!parser.isSet(send)) {
        for (const auto& option : {sender, timeout, settings}) {
            if (parser.isSet(option)) {
                return Failure(QStringLiteral("--%1 goes with --send").arg(option.names().constFirst()));
            }
        }
        if (!words.isEmpty()) {
            return Failure(
                QStringLiteral("unexpected argument \"%1\" without --send").arg(words.constFirst()));
        }
        return command;
    }
    command.What = Kind::Send;
    command.Request.Number = parser.value(send).trimmed();
    command.Request.Sender = parser.value(sender);
    command.MessageFromInput = words.isEmpty() || words == QStringList{QStringLiteral("-")};
    command.Request.Message = command.MessageFromInput ? QString() : words.join(u' ');
    command.SettingsFile = parser.value(settings);
    if (parser.isSet(timeout)) {
        bool isNumber = false;
        const auto seconds = parser.value(timeout).toUInt(&isNumber);
        if (!isNumber || seconds == 0 || seconds > 86400) {
            return Failure(
                QStringLiteral("--timeout wants a whole number of seconds from 1 to 86400, not \"%1\"")
                    .arg(parser.value(timeout)));
        }
        command.Timeout = std::chrono::seconds(seconds);
    }
    if (command.Request.Number.isEmpty()) {
        return Failure(QStringLiteral("--send wants a mobile number"));
    }
    return command;
}

} // namespace pagewing
