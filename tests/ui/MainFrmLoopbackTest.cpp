// The whole program's main job: log in through the simulator, type a number, a sender name and a message
// into the window, click Send and read the delivery line.

#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "ui/ImageButton.h"
#include "ui/MainFrm.h"

#include "support/FakeDesktopIntegration.h"
#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

using namespace pagewing;

namespace {

QString NewestLine(const QListWidget* status) {
    return status->count() == 0 ? QString() : status->item(status->count() - 1)->text();
}

} // namespace

class MainFrmLoopbackTest : public QObject {
    Q_OBJECT

private slots:
    void typedMessageIsDelivered() {
        test::GatewaySimProcess simulator({QStringLiteral("--fragment")});
        QVERIFY(simulator.WaitUntilListening());
        GlobalSettings.LoginURL = simulator.Host.toStdU16String();
        GlobalSettings.LoginPort = simulator.Port.toStdU16String();
        GlobalSettings.ICQUIN = u"100200300";
        GlobalSettings.ICQPassword = u"pagewing";
        RegisteryLoadSave::SaveLoginSettings();
        GlobalSettings.ShowHelp = 0;
        GlobalSettings.Showing = true;
        RegisteryLoadSave::SaveWindowSettings();

        MainFrm window(Desktop);
        window.Load();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* status = window.findChild<QListWidget*>(QStringLiteral("lstStatus"));
        auto* send = window.findChild<ImageButton*>(QStringLiteral("cmdSendMessage"));
        QTRY_VERIFY_WITH_TIMEOUT(NewestLine(status).endsWith(u"    Ready to send Message"), 10000);
        QVERIFY(send->Enable());

        QTest::keyClicks(window.findChild<QComboBox*>(QStringLiteral("cmbMobileNumber")),
                         QStringLiteral("Ann Lee +15551234567"));
        QTest::keyClicks(window.findChild<QLineEdit*>(QStringLiteral("txtSenderID")), QStringLiteral("Bob"));
        QTest::keyClicks(window.findChild<QPlainTextEdit*>(QStringLiteral("txtSMS")),
                         QStringLiteral("See you at 8"));
        QTest::mouseClick(send, Qt::LeftButton);

        QTRY_VERIFY_WITH_TIMEOUT(NewestLine(status).endsWith(u"    Message successfully delivered"), 10000);
        QTRY_COMPARE(simulator.SmsLines(),
                     QStringList{QStringLiteral("SMS to +15551234567: Bob:\\r\\nSee you at 8")});
        RegisteryLoadSave::LoadTelephoneList();
        QVERIFY(GlobalSettings.TelephoneList == u"Ann Lee +15551234567");
    }

private:
    test::FakeDesktopIntegration Desktop;
};

PAGEWING_QTEST_MAIN(MainFrmLoopbackTest)
#include "MainFrmLoopbackTest.moc"
