#include "app/CommandLine.h"

#include "session/SmsText.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <tuple>

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
        "Without options it opens its window. With --send it sends a message with the stored "
        "account and ends: through the running window when there is one (its status list shows "
        "the lines, and a message waits in its outbox while it reconnects), otherwise by itself, "
        "with no window and no display needed. Each status line goes to standard output as it "
        "comes, naming the number it concerns; errors go to standard error. With --history it "
        "prints the newest messages of the history and how each ended.\n"
        "\n"
        "Exit status of --send: 0 delivered; 1 not delivered or refused by the server; 2 bad "
        "usage, incomplete settings, no password or a text that cannot be sent (nothing is sent); "
        "3 the login or the connection failed (nothing is sent); 4 no login within the time-out "
        "(nothing is sent: safe to try again); 5 sent, but no answer within the time-out (it may "
        "still arrive: another try may send it twice). With several --send, the highest status."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption send(
        QStringLiteral("send"),
        QStringLiteral(
            "Send a message to NUMBER: a mobile number, or a name and the number in one argument "
            "(\"Ann Lee +15551234567\"); the number is added to the stored list as the window does "
            "(not to a --settings file). "
            "Give it again for more numbers: one message each, in order."),
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
        QStringLiteral("How long to wait for the login and the gateway's answers. Default: 60."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Read the server and account from this settings file instead "
                       "of the user's own; the window is then never used, and the file is only read: "
                       "it stays as it is, password and all."),
        QStringLiteral("FILE"));
    const QCommandLineOption passwordCommand(
        QStringLiteral("password-command"),
        QStringLiteral("Run this shell command and take the first line it prints as the password, instead "
                       "of the keyring or the settings file: for cron and ssh, where the desktop's keyring "
                       "cannot be reached. The settings key PasswordCommand does the same."),
        QStringLiteral("CMD"));
    const QCommandLineOption quiet(QStringLiteral("quiet"),
                                   QStringLiteral("Print nothing on standard output unless it fails; errors "
                                                  "still go to standard error."));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Print one JSON object per line: with --send time, number, "
                                                 "kind and text; with --history one message each."));
    const QCommandLineOption history(QStringLiteral("history"),
                                     QStringLiteral("Print the newest messages of the history, newest first, "
                                                    "one per line: time, to, destination, sender, text, "
                                                    "state, code and detail, separated by tabs."));
    const QCommandLineOption limit(
        QStringLiteral("limit"),
        QStringLiteral("With --history: how many messages. Default: %1.").arg(DefaultLimit),
        QStringLiteral("N"));
    parser.addOptions(
        {help, version, send, sender, timeout, settings, passwordCommand, quiet, json, history, limit});
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
    const bool sending = parser.isSet(send);
    const bool listing = parser.isSet(history);
    if (sending && listing) {
        return Failure(QStringLiteral("--send and --history go one at a time"));
    }
    // Each option belongs to one mode, --json to both.
    const std::tuple<QList<QCommandLineOption>, bool, QLatin1StringView> belongings[] = {
        {{sender, timeout, settings, passwordCommand, quiet}, sending, QLatin1StringView("send")},
        {{json}, sending || listing, QLatin1StringView("send")},
        {{limit}, listing, QLatin1StringView("history")},
    };
    for (const auto& [options, allowed, mode] : belongings) {
        for (const auto& option : options) {
            if (parser.isSet(option) && !allowed) {
                return Failure(QStringLiteral("--%1 goes with --%2").arg(option.names().constFirst(), mode));
            }
        }
    }
    if (!sending && !words.isEmpty()) {
        return Failure(QStringLiteral("unexpected argument \"%1\" without --send").arg(words.constFirst()));
    }
    if (listing) {
        command.What = Kind::History;
        command.Json = parser.isSet(json);
        bool isNumber = true;
        command.Limit = parser.isSet(limit) ? parser.value(limit).toInt(&isNumber) : DefaultLimit;
        if (!isNumber || command.Limit < 1) {
            return Failure(
                QStringLiteral("--limit wants a whole number from 1, not \"%1\"").arg(parser.value(limit)));
        }
        return command;
    }
    if (!sending) {
        return command;
    }
    command.What = Kind::Send;
    command.MessageFromInput = words.isEmpty() || words == QStringList{QStringLiteral("-")};
    const auto message = command.MessageFromInput ? QString() : words.join(u' ');
    for (const auto& number : parser.values(send)) {
        if (number.trimmed().isEmpty()) {
            return Failure(QStringLiteral("--send wants a mobile number"));
        }
        command.Requests.append({number.trimmed(), parser.value(sender), message});
    }
    command.SettingsFile = parser.value(settings);
    command.PasswordCommand = parser.value(passwordCommand);
    command.Quiet = parser.isSet(quiet);
    command.Json = parser.isSet(json);
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
    return command;
}

} // namespace pagewing
