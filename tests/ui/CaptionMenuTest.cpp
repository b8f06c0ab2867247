// Runs under Xvfb with no notification area, as on a stock GNOME desktop: see run-on-display.sh.

#include "desktop/DesktopIntegration.h"
#include "ui/MainFrm.h"
#include "ui/MnuFrm.h"
#include "ui/UserServerInfo.h"

#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QMenu>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>

using namespace pagewing;

class CaptionMenuTest : public QObject {
    Q_OBJECT

private slots:
    void rightClickOnTheCaptionOpensTheMenuWithoutATray() {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        test::SeedShownWindow();
        DesktopIntegration desktop;
        MainFrm window(desktop);
        window.Load();
        // Without an account the options open; they are not what this test is about.
        window.findChild<UserServerInfo*>()->close();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const auto onCaption = window.mapToGlobal(QPoint(200, 10));
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("mousemove"), QString::number(onCaption.x()),
                           QString::number(onCaption.y()), QStringLiteral("click"), QStringLiteral("3")});
        QTRY_COMPARE(QApplication::activePopupWidget(), &window.Menu().fl());
        // All ten commands; with no icon to name, the first item says what it does to the window.
        const auto items = window.Menu().fl().actions();
        QCOMPARE(items.size(), 10);
        QCOMPARE(items.constFirst()->text(), QStringLiteral("Hide"));
        QCOMPARE(items.at(8)->text(), QStringLiteral("Message History"));
        // Without a notification area no icon is made, nor Qt's fallback that only complains on Wayland.
        QVERIFY(desktop.Tray() == nullptr);
    }
};

PAGEWING_QTEST_MAIN(CaptionMenuTest)
#include "CaptionMenuTest.moc"
