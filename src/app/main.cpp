#include "app/CommandLine.h"
#include "app/Commands.h"
#include "desktop/CaretBlinkTimeout.h"
#include "desktop/DesktopIntegration.h"
#include "platform/HandOverReply.h"
#include "platform/ProductInfo.h"
#include "platform/RuntimeFolder.h"
#include "platform/SingleCopy.h"
#include "platform/WinVersion.h"
#include "ui/MainFrm.h"

#include <QApplication>
#include <QMessageBox>

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
        // The running window comes forward and says it in its status list; a message box here would hold
        // whatever started this copy until someone clicked it away.
        if (!copy.AskRunningCopyToShow(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"))) {
            std::fputs(qUtf8Printable(ProductInfo::AlreadyRunning + u'\n'), stderr);
        }
        return 0;
    }

    CaretBlinkTimeout caret;
    DesktopIntegration desktop;
    MainFrm window(desktop);
    QObject::connect(&copy, &SingleCopy::ShowRequested, &window, &MainFrm::AnswerSecondStart);
    QObject::connect(&copy, &SingleCopy::SendRequested, &window, &MainFrm::SendHandedOver);
    // A later start that comes before the window is up finds no one listening and says so itself.
    QObject::connect(&window, &MainFrm::StartedUp, &copy, &SingleCopy::Listen);
    window.Load();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    // Before Qt first asks for it: cron and ssh give none.
    RuntimeFolder::Settle();
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
    case CommandLine::Kind::History: {
        const QCoreApplication application(argc, argv);
        NameTheProgram();
        return command.What == CommandLine::Kind::Send ? Commands::Send(command)
                                                       : Commands::PrintHistory(command);
    }
    case CommandLine::Kind::Window:
        break;
    }
    return RunWindow(argc, argv);
}
