// The whole program's main job with the keyboard alone: log in through the simulator, type a number, a
// sender name and a message into a fresh window, send with Ctrl+Return and read the delivery line; then what
// a hidden window tells, and a password the server refuses.

#include "ui/MainFrm.h"
#include "ui/StatusList.h"

#include "support/FakeDesktopIntegration.h"
#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QAbstractButton>
#include <QTest>

using namespace pagewing;

class MainFrmLoopbackTest : public QObject {
    Q_OBJECT

private slots:
    void typedMessageIsDeliveredWithoutTheMouse() {
        test::GatewaySimProcess simulator({QStringLiteral("--fragment")});
        QVERIFY(simulator.WaitUntilListening());
        test::SeedAccount(simulator.Host, simulator.Port);
        test::FakeDesktopIntegration desktop;
        MainFrm window(desktop);
        window.Load();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
        const auto newestLine = [status] {
            return status->Count() == 0 ? QString() : status->Line(status->Count() - 1);
        };
        QTRY_VERIFY_WITH_TIMEOUT(newestLine().endsWith(u"    Ready to send Message"), 10000);

        // Key by key into whichever control has the focus (the number box first), Tab moving on, as a user
        // types. A non-breaking space and letters beyond ASCII go out as typed.
        for (const auto character :
             QStringLiteral("Ann Lee +15551234567\tBob\tSee you at 8\u00A0pm, Gr\u00FC\u00DFe")) {
            const auto key = character == u'\t' ? Qt::Key_Tab : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), key, QString(character),
                                Qt::NoModifier);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(newestLine().endsWith(u"    +15551234567: Message successfully delivered"),
                                 10000);
        QTRY_COMPARE(simulator.SmsLines(),
                     QStringList{QStringLiteral(
                         "SMS to +15551234567: Bob:\\r\\nSee you at 8\u00A0pm, Gr\u00FC\u00DFe")});
        QVERIFY(desktop.Notices.isEmpty());
        // From the message on, Tab goes to Clear and then to Send, which Space clicks.
        for (const auto key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space}) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        QVERIFY(newestLine().endsWith(u"    +15551234567: Sending message"));
        QTRY_VERIFY(newestLine().endsWith(u"    +15551234567: Message successfully delivered"));
        QCOMPARE(simulator.SmsLines().size(), 2);

        // Hidden in the tray, the window tells of the next outcome with a notice.
        desktop.Tray = true;
        window.ShowOrHide();
        QVERIFY(window.isHidden());
        window.findChild<QAbstractButton*>(QStringLiteral("cmdSendMessage"))->click();
        QTRY_COMPARE(desktop.Notices,
                     QStringList{QStringLiteral("Message delivered: To Ann Lee +15551234567")});

        // A refused password is followed by where to mend it.
        GlobalSettings.ICQPassword = u"wrong";
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        window.Reconnect();
        QTRY_VERIFY(newestLine().endsWith(u"    Correct it under User and Server Information."));
        QVERIFY(status->Line(status->Count() - 2).contains(u"    Bad password"));
        QCOMPARE(desktop.Notices.constLast(), QStringLiteral("Connection lost: Reconnecting by itself"));
    }
};

PAGEWING_QTEST_MAIN(MainFrmLoopbackTest)
#include "MainFrmLoopbackTest.moc"
