#include "app/Commands.h"

#include "app/CommandLineOutput.h"
#include "app/CommandLineSender.h"
#include "platform/AccountSettings.h"
#include "platform/Keyring.h"
#include "platform/LocaleStatusClock.h"
#include "platform/RegisteryLoadSave.h"
#include "platform/SingleCopy.h"
#include "service/History.h"
#include "service/Messenger.h"
#include "service/StatusLine.h"
#include "service/TelephoneList.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace pagewing::Commands {

namespace {

QString ReadStandardInput() {
    QFile input;
    input.open(stdin, QIODevice::ReadOnly);
    auto text = QString::fromLocal8Bit(input.readAll());
    // The line break that echo and here-documents end with is not part of the message.
    while (text.endsWith(u'\n') || text.endsWith(u'\r')) {
        text.chop(1);
    }
    return text;
}

// The login settings, the password from a password command, the keyring or the file; a note for the user is
// a status line.
AccountSettings::Loaded LoadAccount(CommandLineOutput& output) {
    Keyring keyring;
    QEventLoop waiting;
    std::optional<AccountSettings::Loaded> account;
    AccountSettings::Load(keyring, [&](const AccountSettings::Loaded& loaded) {
        if (!loaded.Note.isEmpty()) {
            output.Line(StatusLine::Dated(LocaleStatusClock(), loaded.Note));
        }
        account = loaded;
        waiting.quit();
    });
    if (!account) {
        waiting.exec();
    }
    return *account;
}

// Why nothing can be sent with the stored account, and the way out.
QString MissingAccount(const AccountSettings::Loaded& account) {
    if (account.Gap != AccountSettings::PasswordGap::None) {
        return QStringLiteral("no password: %1; give it with --password-command CMD or PasswordCommand in %2")
            .arg(account.Reason, RegisteryLoadSave::StoreFileName());
    }
    return QStringLiteral(
               "the settings in %1 lack the server, port, ICQ number or password; enter them under User "
               "and Server Information in the window")
        .arg(RegisteryLoadSave::StoreFileName());
}

// Hands each message to the running window in turn; none when no window runs.
std::optional<SendExit> HandOver(const QList<SendRequest>& requests, std::chrono::seconds timeout,
                                 CommandLineOutput& output) {
    const QDeadlineTimer deadline(timeout);
    std::optional<SendExit> worst;
    for (const auto& request : requests) {
        const auto outcome = SingleCopy::HandOver(
            request, std::chrono::milliseconds(std::max<qint64>(deadline.remainingTime(), 1)),
            [&](const QString& line) {
                output.Line(line, TelephoneList::DestinationOf(request.Number)->Number);
            });
        if (!outcome) {
            // The window went away between two messages: the rest goes without it.
            return worst;
        }
        worst = std::max(worst.value_or(SendExit::Delivered), *outcome);
    }
    return worst;
}

QString TabField(QString text) {
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'\t', QStringLiteral("\\t"));
    text.replace(u'\n', QStringLiteral("\\n"));
    text.replace(u'\r', QStringLiteral("\\r"));
    return text;
}

QString JsonRecord(const MessageRecord& record) {
    const auto fields = record.Fields();
    const QJsonObject object{{QStringLiteral("id"), record.Id},
                             {QStringLiteral("time"), fields.at(0)},
                             {QStringLiteral("to"), record.Entry},
                             {QStringLiteral("destination"), record.Destination},
                             {QStringLiteral("sender"), record.Sender},
                             {QStringLiteral("text"), record.Text},
                             {QStringLiteral("state"), StateName(record.State)},
                             {QStringLiteral("code"), record.Code},
                             {QStringLiteral("detail"), record.Detail},
                             {QStringLiteral("origin"), OriginName(record.Origin)}};
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

CommandLineOutput::Format FormatOf(const CommandLine& command) {
    return command.Json ? CommandLineOutput::Format::Json : CommandLineOutput::Format::Lines;
}

} // namespace

int Send(const CommandLine& command) {
    CommandLineOutput output(FormatOf(command), command.Quiet);
    auto requests = command.Requests;
    if (command.MessageFromInput) {
        const auto message = ReadStandardInput();
        for (auto& request : requests) {
            request.Message = message;
        }
    }
    // All or nothing: one message that makes no sense stops the others before any goes out.
    for (const auto& request : requests) {
        if (const auto problem = Messenger::Problem(
                {request.Number, request.Sender, request.Message, MessageOrigin::CommandLine})) {
            output.Error(QStringLiteral("%1: %2; nothing was sent").arg(request.Number, *problem));
            return output.Finish(SendExit::Unsendable);
        }
    }
    if (command.SettingsFile.isEmpty()) {
        if (const auto outcome = HandOver(requests, command.Timeout, output)) {
            return output.Finish(*outcome);
        }
    } else if (!QFileInfo(command.SettingsFile).isFile()) {
        output.Error(QStringLiteral("no settings file %1").arg(command.SettingsFile));
        return output.Finish(SendExit::Unsendable);
    } else {
        RegisteryLoadSave::UseStoreFile(command.SettingsFile);
    }
    if (!command.PasswordCommand.isEmpty()) {
        AccountSettings::UsePasswordCommand(command.PasswordCommand);
    }
    if (const auto account = LoadAccount(output); !AccountSettings::IsComplete()) {
        output.Error(MissingAccount(account));
        return output.Finish(SendExit::Unsendable);
    }
    CommandLineSender sender(output);
    const auto outcome = sender.Run(requests, command.Timeout);
    const auto seconds = DurationText(command.Timeout);
    if (outcome == SendExit::LoginFailed) {
        output.Error(QStringLiteral("the login or the connection failed; nothing was sent"));
    } else if (outcome == SendExit::NotSentInTime) {
        output.Error(QStringLiteral("no login within %1; nothing was sent").arg(seconds));
    } else if (outcome == SendExit::NoAnswer) {
        output.Error(
            QStringLiteral("sent, but no answer came within %1; the message may still arrive").arg(seconds));
    }
    return output.Finish(outcome);
}

int PrintHistory(const CommandLine& command) {
    CommandLineOutput output(FormatOf(command), false);
    History history;
    // Asking is no reason to make a history where there is none.
    if (!QFileInfo::exists(history.FileName())) {
        return output.Finish(SendExit::Delivered);
    }
    QObject::connect(&history, &History::Problem,
                     [&output](const QString& problem) { output.Error(problem); });
    if (!history.Open()) {
        return output.Finish(SendExit::Unsendable);
    }
    for (const auto& record : history.Newest(command.Limit)) {
        if (command.Json) {
            output.Record(JsonRecord(record));
        } else {
            QStringList fields;
            for (const auto& field : record.Fields()) {
                fields.append(TabField(field));
            }
            output.Record(fields.join(u'\t'));
        }
    }
    return output.Finish(SendExit::Delivered);
}

} // namespace pagewing::Commands
