// pagewing --send while the window runs: the window sends and shows the lines, the command prints those about
// its own messages. Runs under Xvfb (see run-on-display.sh), as the window would on a desktop, the window
// wired to its single-copy socket as the program does it.

#include "desktop/DesktopIntegration.h"
#include "platform/HandOverReply.h"
#include "platform/SingleCopy.h"
#include "service/History.h"
#include "service/Messenger.h"
#include "ui/MainFrm.h"
#include "ui/StatusList.h"

#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTest>

#include <memory>

using namespace pagewing;

namespace {

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

// The running program: its window, started hidden, and the socket later starts hand their messages to.
struct RunningWindow {
    explicit RunningWindow(const QString& port) {
        test::SeedAccount(QStringLiteral("127.0.0.1"), port);
        GlobalSettings.Showing = false;
        RegisteryLoadSave::SaveWindowSettings();
        QVERIFY(Copy.TryAcquire());
        QObject::connect(&Copy, &SingleCopy::SendRequested, &Window, &MainFrm::SendHandedOver);
        QObject::connect(&Window, &MainFrm::StartedUp, &Copy, &SingleCopy::Listen);
        Window.Load();
    }

    int Lines(const QString& text) const {
        const auto* status = Window.findChild<StatusList*>(QStringLiteral("lstStatus"));
        int count = 0;
        for (int line = 0; line < status->Count(); ++line) {
            count += status->Line(line).contains(text) ? 1 : 0;
        }
        return count;
    }

    SingleCopy Copy;
    DesktopIntegration Desktop;
    MainFrm Window{Desktop};
};

struct Command {
    explicit Command(const QStringList& arguments) {
        Process.start(QStringLiteral(PAGEWING_EXECUTABLE), QStringList{QStringLiteral("--send")} + arguments);
    }

    bool Finish() {
        return QTest::qWaitFor([this] { return Process.state() == QProcess::NotRunning; }, 40000);
    }
    QStringList Output() {
        return QString::fromUtf8(Process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    QProcess Process;
};

} // namespace

class HandOverTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::ForgetStoredSettings(); }

    // Started hidden, the window takes hand-overs all the same; while it logs in, the command waits, then
    // hears the lines of its message by its number.
    void runningWindowSendsForTheCommand() {
        test::GatewaySimProcess simulator;
        QVERIFY(simulator.WaitUntilListening());
        RunningWindow running(simulator.Port);
        QVERIFY(!running.Window.isVisible() || running.Window.isMinimized());
        Command command({QStringLiteral("+1 555 123 4567"), QStringLiteral("--sender"),
                         QStringLiteral("Cron"), QStringLiteral("Backup failed")});
        QVERIFY(command.Finish());
        QCOMPARE(command.Process.exitCode(), 0);
        const auto printed = command.Output();
        QVERIFY(printed.size() >= 2 &&
                printed.at(printed.size() - 2).endsWith(u"    +15551234567: Sending message"));
        QVERIFY(printed.constLast().endsWith(u"    +15551234567: Message successfully delivered"));
        QCOMPARE(running.Lines(QStringLiteral("    +15551234567: Message successfully delivered")), 1);
        QCOMPARE(simulator.SmsLines(),
                 QStringList{QStringLiteral("SMS to +15551234567: Cron:\\r\\nBackup failed")});
    }

    // Two commands handed to a window that waits for its server: each prints the lines of its own message and
    // none of the other's, and both go out once the server is there.
    void handOversAtOnceHearOnlyTheirOwnLines() {
        const auto port = FreePort();
        RunningWindow running(QString::number(port));
        QTRY_VERIFY_WITH_TIMEOUT(running.Lines(QStringLiteral("Reconnecting in")) > 0, 10000);
        Command ann({QStringLiteral("Ann 5550001"), QStringLiteral("--timeout"), QStringLiteral("40"),
                     QStringLiteral("One")});
        Command bob({QStringLiteral("Bob 5550002"), QStringLiteral("--timeout"), QStringLiteral("40"),
                     QStringLiteral("Two")});
        QTRY_COMPARE_WITH_TIMEOUT(running.Window.Messages().Queued(), 2, 10000);
        test::GatewaySimProcess simulator({}, port);
        QVERIFY(simulator.WaitUntilListening());
        QVERIFY(ann.Finish() && bob.Finish());
        const std::tuple<Command*, const char*, const char*> commands[] = {{&ann, "5550001", "5550002"},
                                                                           {&bob, "5550002", "5550001"}};
        for (const auto& [command, own, other] : commands) {
            QCOMPARE(command->Process.exitCode(), 0);
            const auto printed = command->Output().join(u'\n');
            QVERIFY2(printed.contains(
                         QStringLiteral("    %1: Message successfully delivered").arg(QLatin1String(own))) &&
                         !printed.contains(QLatin1String(other)),
                     qPrintable(printed));
        }
        QCOMPARE(simulator.SmsLines().size(), 2);
    }

    // A command that stops waiting takes its message out, hears why from the window and says it on standard
    // error; a window that waits for the user turns a command away at once.
    void aCommandThatCannotBeServedEndsWithTheWindowsReason() {
        {
            RunningWindow running(QString::number(FreePort()));
            Command late({QStringLiteral("5550003"), QStringLiteral("--timeout"), QStringLiteral("2"),
                          QStringLiteral("Late")});
            QVERIFY(late.Finish());
            QCOMPARE(late.Process.exitCode(), 4);
            QVERIFY(late.Output().constLast().endsWith(
                u"5550003: The message was not sent: the command stopped waiting"));
            QCOMPARE(QString::fromUtf8(late.Process.readAllStandardError()),
                     QStringLiteral("pagewing: 5550003: not sent: the command stopped waiting\n"));
            QCOMPARE(running.Window.Messages().Records().Newest(1).value(0).State, MessageState::NotSent);
            QCOMPARE(running.Window.Messages().Queued(), 0);
        }
        test::GatewaySimProcess refusing({QStringLiteral("--auth-error"), QStringLiteral("0005")});
        QVERIFY(refusing.WaitUntilListening());
        RunningWindow running(refusing.Port);
        QTRY_COMPARE_WITH_TIMEOUT(running.Window.Messages().State(), Messenger::Connection::WaitingForUser,
                                  10000);
        QElapsedTimer waited;
        waited.start();
        Command turnedAway({QStringLiteral("5550004"), QStringLiteral("--timeout"), QStringLiteral("30"),
                            QStringLiteral("No")});
        QVERIFY(turnedAway.Finish());
        QVERIFY(waited.elapsed() < 10000);
        QCOMPARE(turnedAway.Process.exitCode(), 3);
        QVERIFY(QString::fromUtf8(turnedAway.Process.readAllStandardError())
                    .contains(u"not sent: Not connected: Bad password"));
    }

    // A command with a login of its own owns its message: the window, taking up what runs that are gone left
    // when it sends its first message, leaves it alone, and the command's time-out ends it.
    void aCommandOwnsItsMessageWhileTheWindowSends() {
        test::GatewaySimProcess simulator;
        QVERIFY(simulator.WaitUntilListening());
        test::GatewaySimProcess stalling({QStringLiteral("--stall-login")});
        QVERIFY(stalling.WaitUntilListening());
        const auto settings = test::UserFolders().filePath(QStringLiteral("stalling.ini"));
        QFile file(settings);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            QStringLiteral(
                "[Settings]\nLoginURL=127.0.0.1\nLoginPort=%1\nICQUIN=100200300\nICQPassword=pagewing\n")
                .arg(stalling.Port)
                .toUtf8());
        file.close();
        RunningWindow running(simulator.Port);
        QTRY_VERIFY_WITH_TIMEOUT(running.Lines(QStringLiteral("Ready to send Message")) > 0, 10000);
        Command own({QStringLiteral("5550005"), QStringLiteral("--settings"), settings,
                     QStringLiteral("--timeout"), QStringLiteral("3"), QStringLiteral("Mine")});
        auto& records = running.Window.Messages().Records();
        QTRY_VERIFY_WITH_TIMEOUT(
            records.Open() && records.Newest(1).value(0).Destination == QStringLiteral("5550005"), 10000);
        const auto commands = records.Newest(1).value(0).Id;
        running.Window.Messages().Submit({QStringLiteral("5550006"), {}, QStringLiteral("Window's")});
        QCOMPARE(records.Find(commands)->State, MessageState::Queued);
        QVERIFY(own.Finish());
        QCOMPARE(own.Process.exitCode(), 4);
        QCOMPARE(records.Find(commands)->Detail, QStringLiteral("no login within 3 seconds"));
        QTRY_COMPARE(simulator.SmsLines(), QStringList{QStringLiteral("SMS to 5550006: :\\r\\nWindow's")});
    }
};

PAGEWING_QTEST_MAIN(HandOverTest)
#include "HandOverTest.moc"
