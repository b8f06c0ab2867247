// Runs on a headless weston, as on the default session of GNOME or KDE Plasma: see run-on-display.sh.

#include "desktop/DesktopIntegration.h"
#include "platform/RegisteryLoadSave.h"
#include "platform/SingleCopy.h"
#include "session/GlobalSettings.h"
#include "ui/ImageButton.h"
#include "ui/MainFrm.h"
#include "ui/MnuFrm.h"
#include "ui/StatusList.h"

#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QMenu>
#include <QProcess>
#include <QTest>

using namespace pagewing;

class WaylandTest : public QObject {
    Q_OBJECT

private slots:
    void startsAndLogsIn() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        test::GatewaySimProcess simulator;
        QVERIFY(simulator.WaitUntilListening());
        test::SeedAccount(simulator.Host, simulator.Port);

        DesktopIntegration desktop;
        MainFrm window(desktop);
        window.Load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
        QTRY_VERIFY_WITH_TIMEOUT(status->Count() > 0 &&
                                     status->Line(status->Count() - 1).endsWith(u"    Ready to send Message"),
                                 10000);
        QVERIFY(window.findChild<ImageButton*>(QStringLiteral("cmdSendMessage"))->Enable());
        // The compositor ignores keep-on-top: the menu says so instead of showing a check mark.
        QVERIFY(!window.Menu().fl().findChild<QAction*>(QStringLiteral("aot"))->isEnabled());

        // Minimised with no notification area, where the compositor never says when it restores a window, the
        // window counts as hidden, and a second start of the program brings it back and ends by itself.
        SingleCopy copy;
        QVERIFY(copy.TryAcquire());
        copy.Listen();
        QObject::connect(&copy, &SingleCopy::ShowRequested, &window, &MainFrm::AnswerSecondStart);
        window.ShowOrHide();
        QTest::qWait(500);
        QVERIFY(!GlobalSettings.Showing);
        QProcess second;
        second.start(QStringLiteral(PAGEWING_EXECUTABLE), {});
        QVERIFY(second.waitForFinished(10000) && second.exitCode() == 0);
        QTRY_VERIFY_WITH_TIMEOUT(GlobalSettings.Showing && window.isVisible(), 10000);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(status->Line(status->Count() - 1).endsWith(u" already running!"));
    }
};

PAGEWING_QTEST_MAIN(WaylandTest)
#include "WaylandTest.moc"
