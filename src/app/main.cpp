#include "app/CommandLine.h"
#include "app/CommandLineSender.h"
#include "platform/AccountSettings.h"
#include "platform/CaretBlinkTimeout.h"
#include "platform/DesktopIntegration.h"
#include "platform/HandOverReply.h"
#include "platform/LocaleStatusClock.h"
#include "platform/RegisteryLoadSave.h"
#include "platform/SingleCopy.h"
#include "platform/WinVersion.h"
#include "ui/MainFrm.h"
#include "ui/ProductInfo.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextStream>

#include <cstdio>

namespace {

using namespace pagewing;

void NameTheProgram() {
    QCoreApplication::setApplicationName(ProductInfo::Name);
    QCoreApplication::setOrganizationName(ProductInfo::Name);
    QCoreApplication::setApplicationVersion(ProductInfo::Version);
}

// Parsed before any QApplication exists: help, version and --send must work with no display at all.
CommandLine ParseCommandLine(int argc, char* argv[]) {
    const QCoreApplication parsing(argc, argv);
    NameTheProgram();
    return CommandLine::Parse(QCoreApplication::arguments());
}

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

// The login settings, the password from the keyring where it is kept; a note for the user is a status line.
void LoadAccount(const std::function<void(const QString&)>& print) {
    DesktopIntegration desktop;
    QEventLoop waiting;
    bool loaded = false;
    AccountSettings::Load(desktop, [&](const QString& note) {
        if (!note.isEmpty()) {
            print(QString::fromStdU16String(LocaleStatusClock().CurrentDateTimeText()) +
                  QStringLiteral("    ") + note);
        }
        loaded = true;
        waiting.quit();
    });
    if (!loaded) {
        waiting.exec();
    }
}

int SendFromCommandLine(int argc, char* argv[], CommandLine command) {
    const QCoreApplication application(argc, argv);
    NameTheProgram();
    QTextStream output(stdout);
    QTextStream errors(stderr);
    const auto print = [&output](const QString& line) {
        output << line << Qt::endl;
    };
    const auto fail = [&errors](SendExit outcome, const QString& reason) {
        errors << "pagewing: " << reason << Qt::endl;
        return static_cast<int>(outcome);
    };

    if (command.MessageFromInput) {
        command.Request.Message = ReadStandardInput();
    }
    if (const auto problem = CommandLineSender::Problem(command.Request)) {
        return fail(SendExit::Unsendable, *problem + QStringLiteral("; nothing was sent"));
    }
    if (command.SettingsFile.isEmpty()) {
        if (const auto outcome = SingleCopy::HandOver(command.Request, command.Timeout, print)) {
            return static_cast<int>(*outcome);
        }
    } else if (!QFileInfo(command.SettingsFile).isFile()) {
        return fail(SendExit::Unsendable, QStringLiteral("no settings file %1").arg(command.SettingsFile));
    } else {
        RegisteryLoadSave::UseStoreFile(command.SettingsFile);
    }
    LoadAccount(print);
    if (!AccountSettings::IsComplete()) {
        return fail(
            SendExit::Unsendable,
            QStringLiteral("the settings in %1 lack the ICQ number or password; enter them under User and "
                           "Server Information in the window")
                .arg(RegisteryLoadSave::StoreFileName()));
    }
    CommandLineSender sender(print);
    const auto outcome = sender.Run(command.Request, command.Timeout);
    if (outcome == SendExit::LoginFailed) {
        return fail(outcome, QStringLiteral("the login or the connection failed"));
    }
    if (outcome == SendExit::NoAnswer) {
        return fail(outcome, QStringLiteral("no answer within %1 seconds").arg(command.Timeout.count()));
    }
    return static_cast<int>(outcome);
}

void Refuse(const QString& text) {
    QMessageBox::information(nullptr, QStringLiteral("Important"), text);
}

int RunWindow(int argc, char* argv[]) {
    QApplication application(argc, argv);
    NameTheProgram();
    QApplication::setDesktopFileName(ProductInfo::AppId);
    // The About window may stay open after the main window closed; closing the main window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    if (WinVersion::IsUnsupportedSystem()) {
        Refuse(ProductInfo::NameAndVersion + QStringLiteral(" works only with Windows 2000/XP or later!"));
        return 1;
    }
    SingleCopy copy;
    if (!copy.TryAcquire()) {
        copy.AskRunningCopyToShow(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"));
        Refuse(ProductInfo::NameAndVersion + QStringLiteral(" already running!"));
        return 0;
    }

    CaretBlinkTimeout caret;
    DesktopIntegration desktop;
    MainFrm window(desktop);
    QObject::connect(&copy, &SingleCopy::ShowRequested, &window, &MainFrm::BringToFront);
    QObject::connect(&copy, &SingleCopy::SendRequested, &window, &MainFrm::SendHandedOver);
    // A later start that comes before the window is up finds no one listening and says so itself.
    QObject::connect(&window, &MainFrm::FirstPainted, &copy, &SingleCopy::Listen);
    window.Load();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    // The window, the usual start, comes up without a detour through the parser.
    if (argc <= 1) {
        return RunWindow(argc, argv);
    }
    const auto command = ParseCommandLine(argc, argv);
    switch (command.What) {
    case CommandLine::Kind::Help:
    case CommandLine::Kind::Version:
        std::fputs(qUtf8Printable(command.Text + u'\n'), stdout);
        return 0;
    case CommandLine::Kind::Error:
        std::fputs(
            qUtf8Printable(
                QStringLiteral("pagewing: %1\nTry 'pagewing --help' for the options.\n").arg(command.Text)),
            stderr);
        return static_cast<int>(SendExit::Unsendable);
    case CommandLine::Kind::Send:
        return SendFromCommandLine(argc, argv, command);
    case CommandLine::Kind::Window:
        break;
    }
    return RunWindow(argc, argv);
}
