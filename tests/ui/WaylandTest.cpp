// Runs on a headless weston, as on the default session of GNOME or KDE Plasma: see run-on-display.sh.

#include "platform/DesktopIntegration.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "ui/ImageButton.h"
#include "ui/MainFrm.h"
#include "ui/MnuFrm.h"
#include "ui/StatusList.h"

#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

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
    }
};

PAGEWING_QTEST_MAIN(WaylandTest)
#include "WaylandTest.moc"
