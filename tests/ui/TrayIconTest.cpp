// Runs under Xvfb with a notification area (trayer) on the xcb platform: see run-on-display.sh.

#include "desktop/DesktopIntegration.h"
#include "desktop/SysTray.h"
#include "platform/ProductInfo.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "ui/MainFrm.h"
#include "ui/MnuFrm.h"

#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QMenu>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>

using namespace pagewing;

namespace {

// A real click through the X server, as a user's would arrive.
void ClickAt(QPoint at, int button) {
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                       QStringLiteral("click"), QString::number(button)});
}

} // namespace

class TrayIconTest : public QObject {
    Q_OBJECT

private slots:
    void iconShowsHidesAndOpensTheMenu() {
        QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 10000);
        // Hidden to the tray when it last ran: the window is never painted, and its icon comes all the same.
        test::SeedShownWindow();
        GlobalSettings.Showing = false;
        RegisteryLoadSave::SaveWindowSettings();
        DesktopIntegration desktop;
        MainFrm window(desktop);
        window.Load();
        QTRY_VERIFY(desktop.Tray() != nullptr);
        auto& icon = desktop.Tray()->Icon();
        QVERIFY(icon.isVisible() && !window.isVisible());
        // The icon is usable once the notification area has embedded it along the bottom of the screen.
        const auto screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_VERIFY_WITH_TIMEOUT(icon.geometry().bottom() >= screen.bottom() - 24, 10000);

        const auto centre = icon.geometry().center();
        ClickAt(centre, 1);
        QTRY_VERIFY(window.isVisible());
        QTest::qWait(QApplication::doubleClickInterval() + 200);
        ClickAt(centre, 1);
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!GlobalSettings.Showing);
        // A second click within the double-click time is a double click, which shows nothing.
        QTest::qWait(QApplication::doubleClickInterval() + 200);
        ClickAt(centre, 1);
        QTRY_VERIFY(window.isVisible());
        QVERIFY(GlobalSettings.Showing);

        ClickAt(centre, 3);
        QTRY_COMPARE(QApplication::activePopupWidget(), &window.Menu().fl());
        // The tooltip tells the state of the connection, which the icon's badge shows.
        QCOMPARE(icon.toolTip(), ProductInfo::NameAndVersion + QStringLiteral(": Not connected"));
        desktop.SetConnectionState(Messenger::Connection::WaitingToReconnect,
                                   QStringLiteral("Reconnecting in 8 seconds \u2014 3 messages waiting"));
        QCOMPARE(icon.toolTip(), ProductInfo::NameAndVersion +
                                     QStringLiteral(": Reconnecting in 8 seconds \u2014 3 messages waiting"));
    }
};

PAGEWING_QTEST_MAIN(TrayIconTest)
#include "TrayIconTest.moc"
