// The whole program's main job with the keyboard alone: log in through the simulator, type a number, a
// sender name and a message into a fresh window, send with Ctrl+Return and read the delivery line.

#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "ui/ImageButton.h"
#include "ui/MainFrm.h"
#include "ui/StatusList.h"

#include "support/FakeDesktopIntegration.h"
#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>

using namespace pagewing;

namespace {

QString NewestLine(const StatusList* status) {
    return status->Count() == 0 ? QString() : status->Line(status->Count() - 1);
}

} // namespace

class MainFrmLoopbackTest : public QObject {
    Q_OBJECT

private slots:
    void typedMessageIsDeliveredWithoutTheMouse() {
        test::GatewaySimProcess simulator({QStringLiteral("--fragment")});
        QVERIFY(simulator.WaitUntilListening());
        test::SeedAccount(simulator.Host, simulator.Port);

        MainFrm window(Desktop);
        window.Load();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
        auto* send = window.findChild<ImageButton*>(QStringLiteral("cmdSendMessage"));
        QTRY_VERIFY_WITH_TIMEOUT(NewestLine(status).endsWith(u"    Ready to send Message"), 10000);
        QVERIFY(send->Enable());

        // Key by key into whichever control has the focus, Tab moving on, as a user types.
        const auto type = [](const QString& text) {
            for (const auto character : text) {
                if (character == u'\t') {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                } else {
                    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                        QString(character), Qt::NoModifier);
                }
            }
        };
        QCOMPARE(QApplication::focusWidget(),
                 window.findChild<QComboBox*>(QStringLiteral("cmbMobileNumber")));
        type(QStringLiteral("Ann Lee +15551234567\tBob\t"));
        // A non-breaking space and letters beyond ASCII go out as typed.
        type(QStringLiteral("See you at 8\u00A0pm, Gr\u00FC\u00DFe"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);

        QTRY_VERIFY_WITH_TIMEOUT(NewestLine(status).endsWith(u"    Message successfully delivered"), 10000);
        QTRY_COMPARE(simulator.SmsLines(),
                     QStringList{QStringLiteral(
                         "SMS to +15551234567: Bob:\\r\\nSee you at 8\u00A0pm, Gr\u00FC\u00DFe")});
        QVERIFY(Desktop.Notices.isEmpty());

        // Hidden to the tray, the window tells of the next outcome with a notice.
        Desktop.Tray = true;
        window.ShowOrHide();
        QVERIFY(window.isHidden());
        send->click();
        QTRY_COMPARE(Desktop.Notices, QStringList{QStringLiteral("Message successfully delivered")});
        RegisteryLoadSave::LoadTelephoneList();
        QVERIFY(GlobalSettings.TelephoneList == u"Ann Lee +15551234567");
    }

private:
    test::FakeDesktopIntegration Desktop;
};

PAGEWING_QTEST_MAIN(MainFrmLoopbackTest)
#include "MainFrmLoopbackTest.moc"
