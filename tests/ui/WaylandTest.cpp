// Runs on a headless weston, as on the default session of GNOME or KDE Plasma: see run-on-display.sh.

#include "platform/DesktopIntegration.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "ui/ImageButton.h"
#include "ui/MainFrm.h"
#include "ui/MnuFrm.h"

#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"

#include <QListWidget>
#include <QMenu>
#include <QTest>

using namespace pagewing;

class WaylandTest : public QObject {
    Q_OBJECT

private slots:
    void startsAndLogsIn() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        test::GatewaySimProcess simulator;
        QVERIFY(simulator.WaitUntilListening());
        GlobalSettings.LoginURL = simulator.Host.toStdU16String();
        GlobalSettings.LoginPort = simulator.Port.toStdU16String();
        GlobalSettings.ICQUIN = u"100200300";
        GlobalSettings.ICQPassword = u"pagewing";
        RegisteryLoadSave::SaveLoginSettings();

        DesktopIntegration desktop;
        MainFrm window(desktop);
        window.Load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* status = window.findChild<QListWidget*>(QStringLiteral("lstStatus"));
        QTRY_VERIFY_WITH_TIMEOUT(
            status->count() > 0 &&
                status->item(status->count() - 1)->text().endsWith(u"    Ready to send Message"),
            10000);
        QVERIFY(window.findChild<ImageButton*>(QStringLiteral("cmdSendMessage"))->Enable());
        // The compositor ignores keep-on-top: the menu says so instead of showing a check mark.
        QVERIFY(!window.Menu().fl().findChild<QAction*>(QStringLiteral("aot"))->isEnabled());
    }
};

PAGEWING_QTEST_MAIN(WaylandTest)
#include "WaylandTest.moc"
