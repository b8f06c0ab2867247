#include "app/Commands.h"

#include "app/CommandLineOutput.h"
#include "app/CommandLineSender.h"
#include "platform/AccountSettings.h"
#include "platform/HandOverClient.h"
#include "platform/Keyring.h"
#include "platform/LocaleStatusClock.h"
#include "platform/RegisteryLoadSave.h"
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
        for (const auto& line : loaded.Lines()) {
            output.Line(StatusLine::Dated(LocaleStatusClock(), line));
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

QString DestinationOf(const SendRequest& request) {
    return TelephoneList::DestinationOf(request.Number)->Number;
}

// What a script's reader learns on standard error of a message that was not delivered or not answered.
void TellWhy(CommandLineOutput& output, const SendRequest& request, const MessageOutcome& outcome) {
    switch (outcome.Exit) {
    case SendExit::Delivered:
    case SendExit::NotDelivered:
        return;
    case SendExit::Unsendable:
    case SendExit::LoginFailed:
    case SendExit::NotSentInTime:
        output.Error(QStringLiteral("%1: not sent: %2").arg(DestinationOf(request), outcome.Reason));
        return;
    case SendExit::NoAnswer:
        output.Error(QStringLiteral("%1: sent, but no delivery result: %2; the message may still arrive")
                         .arg(DestinationOf(request), outcome.Reason));
        return;
    }
}

// Sends with the command's own login; the settings must be complete.
std::optional<QList<MessageOutcome>> SendAlone(const CommandLine& command, const QList<SendRequest>& requests,
                                               std::chrono::milliseconds timeout, CommandLineOutput& output) {
    if (!command.PasswordCommand.isEmpty()) {
        AccountSettings::UsePasswordCommand(command.PasswordCommand);
    }
    if (const auto account = LoadAccount(output); !AccountSettings::IsComplete()) {
        output.Error(MissingAccount(account));
        return std::nullopt;
    }
    CommandLineSender sender(output);
    return sender.Run(requests, timeout);
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
    const QDeadlineTimer deadline(command.Timeout);
    QList<MessageOutcome> outcomes;
    if (command.SettingsFile.isEmpty()) {
        const auto handedOver =
            HandOverClient::Run(requests, command.Timeout, [&output](const HandOverClient::Report& report) {
                output.Line(report.Line, report.Destination, report.Kind);
            });
        outcomes = handedOver.value_or(QList<MessageOutcome>());
    } else if (!QFileInfo(command.SettingsFile).isFile()) {
        output.Error(QStringLiteral("no settings file %1").arg(command.SettingsFile));
        return output.Finish(SendExit::Unsendable);
    } else {
        RegisteryLoadSave::UseStoreFile(command.SettingsFile);
    }
    // What no window took, the command sends itself in the time that is left.
    if (outcomes.size() < requests.size()) {
        const auto rest = requests.mid(outcomes.size());
        const auto sent = SendAlone(
            command, rest, std::chrono::milliseconds(std::max<qint64>(deadline.remainingTime(), 1)), output);
        if (!sent) {
            return output.Finish(SendExit::Unsendable);
        }
        outcomes += *sent;
    }
    auto worst = SendExit::Delivered;
    for (qsizetype at = 0; at < requests.size(); ++at) {
        TellWhy(output, requests.at(at), outcomes.at(at));
        worst = std::max(worst, outcomes.at(at).Exit);
    }
    return output.Finish(worst);
}

int PrintHistory(const CommandLine& command) {
    CommandLineOutput output(FormatOf(command), false);
    // Read only: a reader changes nothing, waits a second at most for a writer, and reads a file that it
    // could not write.
    History history(History::DefaultFileName(), History::Access::ReadOnly);
    // Asking is no reason to make a history where there is none.
    if (!QFileInfo::exists(history.FileName())) {
        return output.Finish(SendExit::Delivered);
    }
    bool failed = false;
    QObject::connect(&history, &History::Problem, [&output, &failed](const QString& problem) {
        output.Error(problem);
        failed = true;
    });
    const auto records = history.Newest(command.Limit);
    if (failed) {
        return output.Finish(SendExit::Unsendable);
    }
    for (const auto& record : records) {
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
