// pagewing --send while the window runs: the window sends and shows the lines, the command prints them. Runs
// under Xvfb (see run-on-display.sh), as the window would on a desktop.

#include "desktop/DesktopIntegration.h"
#include "platform/HandOverReply.h"
#include "platform/SingleCopy.h"
#include "ui/MainFrm.h"
#include "ui/StatusList.h"

#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QProcess>
#include <QTest>

using namespace pagewing;

class HandOverTest : public QObject {
    Q_OBJECT

private slots:
    void runningWindowSendsForTheCommand() {
        test::GatewaySimProcess simulator;
        QVERIFY(simulator.WaitUntilListening());
        test::SeedAccount(simulator.Host, simulator.Port);
        SingleCopy copy;
        QVERIFY(copy.TryAcquire());
        copy.Listen();
        DesktopIntegration desktop;
        MainFrm window(desktop);
        connect(&copy, &SingleCopy::SendRequested, &window, &MainFrm::SendHandedOver);
        window.Load();

        // Handed over while the window still logs in: it waits for the login, then sends.
        QProcess command;
        command.start(QStringLiteral(PAGEWING_EXECUTABLE),
                      {QStringLiteral("--send"), QStringLiteral("+15551234567"), QStringLiteral("--sender"),
                       QStringLiteral("Cron"), QStringLiteral("Backup failed")});
        QTRY_COMPARE_WITH_TIMEOUT(command.state(), QProcess::NotRunning, 20000);
        QCOMPARE(command.exitCode(), 0);
        const auto printed =
            QString::fromUtf8(command.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        // Every line handed back names the message it came for.
        QVERIFY(printed.size() >= 2 &&
                printed.at(printed.size() - 2).endsWith(u"    +15551234567: Sending message"));
        QVERIFY(printed.constLast().endsWith(u"    +15551234567: Message successfully delivered"));
        const auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
        QVERIFY(
            status->Line(status->Count() - 1).endsWith(u"    +15551234567: Message successfully delivered"));
        QCOMPARE(simulator.SmsLines(),
                 QStringList{QStringLiteral("SMS to +15551234567: Cron:\\r\\nBackup failed")});
    }
};

PAGEWING_QTEST_MAIN(HandOverTest)
#include "HandOverTest.moc"
