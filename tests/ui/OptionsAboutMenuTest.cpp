#include "platform/RegisteryAccess.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "ui/AboutFrm.h"
#include "ui/ImageButton.h"
#include "ui/MainFrm.h"
#include "ui/MnuFrm.h"
#include "ui/ProductInfo.h"
#include "ui/StatusList.h"
#include "ui/UserServerInfo.h"

#include "support/FakeDesktopIntegration.h"
#include "support/QtTestEnvironment.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTcpServer>
#include <QTest>
#include <QWindow>

using namespace pagewing;

namespace {

QByteArray StoreBytes() {
    QFile file(RegisteryLoadSave::StoreFileName());
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QAction* Item(MainFrm& window, const char* name) {
    return window.Menu().fl().findChild<QAction*>(QLatin1String(name));
}

// A login address that refuses at once: a port that was just free on loopback.
quint16 ClosedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

void StoreAccount(const QString& port) {
    GlobalSettings.LoginURL = u"127.0.0.1";
    GlobalSettings.LoginPort = port.toStdU16String();
    GlobalSettings.ICQUIN = u"100200300";
    GlobalSettings.ICQPassword = u"pagewing";
    RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
}

} // namespace

class OptionsAboutMenuTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        test::ForgetStoredSettings();
        GlobalSettings = {};
        Desktop.Opened.clear();
        Desktop.Tray = true;
        Desktop.KeepOnTop = true;
    }

    void optionsStartInThePasswordBoxAndTabInTheirOrder() {
        MainFrm window(Desktop);
        window.Load();
        auto* options = window.findChild<UserServerInfo*>();
        QVERIFY(QTest::qWaitForWindowActive(options));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtICQPassword"));
        for (const auto* next : {"txtICQUIN", "txtLoginPort", "txtLoginURL", "OkButton1", "cmdCancel"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(next));
        }
        auto* password = options->findChild<QLineEdit*>(QStringLiteral("txtICQPassword"));
        password->setText(QStringLiteral("abc"));
        QCOMPARE(password->displayText(), QStringLiteral("***"));
    }

    void okWithNothingChangedStillSavesAndReconnects() {
        StoreAccount(QString::number(ClosedPort()));
        MainFrm window(Desktop);
        window.Load();
        auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
        QTRY_VERIFY(status->Count() > 0 && status->Line(status->Count() - 1).endsWith(u"Connection refused"));
        const auto lines = status->Count();
        QFile::remove(RegisteryLoadSave::StoreFileName());

        window.ShowOptions();
        auto* options = window.findChild<UserServerInfo*>();
        QTest::mouseClick(options->findChild<ImageButton*>(QStringLiteral("OkButton1")), Qt::LeftButton);
        QVERIFY(StoreBytes().contains("ICQUIN=100200300"));
        QVERIFY(!window.findChild<ImageButton*>(QStringLiteral("cmdSendMessage"))->Enable());
        QTRY_COMPARE(status->Count(), lines + 1);
        QVERIFY(status->Line(lines).endsWith(u"Connection refused"));
        QTRY_VERIFY(window.findChild<UserServerInfo*>() == nullptr);
    }

    void emptyLoginFieldMeansTheNextStartAsksAgain() {
        StoreAccount(QString::number(ClosedPort()));
        {
            MainFrm window(Desktop);
            window.Load();
            window.ShowOptions();
            auto* options = window.findChild<UserServerInfo*>();
            options->findChild<QLineEdit*>(QStringLiteral("txtLoginURL"))->clear();
            QTest::keyClick(options->findChild<QLineEdit*>(QStringLiteral("txtICQUIN")), Qt::Key_Return);
            QVERIFY(GlobalSettings.LoginURL.empty());
            auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
            QVERIFY(status->Line(status->Count() - 1).endsWith(u"Login server name is empty"));
        }
        GlobalSettings = {};
        MainFrm window(Desktop);
        window.Load();
        QVERIFY(window.findChild<UserServerInfo*>() != nullptr);
        auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
        QCOMPARE(status->Count(), 1);
        QVERIFY(status->Line(0).contains(u"User and Server Information"));
    }

    void cancelLeavesSettingsAndStoreUntouched() {
        StoreAccount(QStringLiteral("5190"));
        const auto before = StoreBytes();
        MainFrm window(Desktop);
        window.ShowOptions();
        auto* options = window.findChild<UserServerInfo*>();
        options->findChild<QLineEdit*>(QStringLiteral("txtICQUIN"))->setText(QStringLiteral("999"));
        options->findChild<QLineEdit*>(QStringLiteral("txtICQPassword"))->setText(QStringLiteral("other"));
        QTest::mouseClick(options->findChild<ImageButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
        QVERIFY(GlobalSettings.ICQUIN == u"100200300");
        QVERIFY(GlobalSettings.ICQPassword == u"pagewing");
        QCOMPARE(StoreBytes(), before);
        QTRY_VERIFY(window.findChild<UserServerInfo*>() == nullptr);
    }

    void openingTwiceBringsUpTheOneDialogAsTyped() {
        MainFrm window(Desktop);
        window.ShowOptions();
        auto* first = window.findChild<UserServerInfo*>();
        first->findChild<QLineEdit*>(QStringLiteral("txtICQUIN"))->setText(QStringLiteral("4242"));
        Item(window, "usi")->trigger();
        QCOMPARE(window.findChildren<UserServerInfo*>().size(), 1);
        QCOMPARE(window.findChild<UserServerInfo*>(), first);
        QCOMPARE(first->findChild<QLineEdit*>(QStringLiteral("txtICQUIN"))->text(), QStringLiteral("4242"));
    }

    void aboutCheckBoxIsStoredAtOnceAndKeptOverClosing() {
        MainFrm window(Desktop);
        window.Load();
        auto& about = window.About();
        QVERIFY(about.isVisible());
        QCOMPARE(about.windowTitle(), QStringLiteral("About ") + ProductInfo::NameAndVersion);
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(), ProductInfo::NameAndVersion);
        auto* box = about.findChild<QCheckBox*>(QStringLiteral("chkShowHelp"));
        QVERIFY(box->isChecked());
        box->click();
        QVERIFY(StoreBytes().contains("ShowHelp=0"));
        QTest::mouseClick(about.findChild<ImageButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
        QVERIFY(!about.isVisible());
        Item(window, "abt")->trigger();
        QVERIFY(about.isVisible());
        QVERIFY(!box->isChecked());
        box->click();
        QVERIFY(StoreBytes().contains("ShowHelp=1"));
    }

    void linksHandTheirAddressesOverAsWritten() {
        MainFrm window(Desktop);
        window.Load();
        auto* link = window.About().findChild<QLabel*>(QStringLiteral("lblSendToFriend"));
        QCOMPARE(link->cursor().hotSpot(), QPoint(12, 9));
        QCOMPARE(link->cursor().pixmap().size(), QSize(32, 32));
        emit link->linkActivated(QString());
        emit window.About().findChild<QLabel*>(QStringLiteral("lblLink"))->linkActivated(QString());
        Item(window, "gin")->trigger();
        QCOMPARE(Desktop.Opened.size(), 3);
        QCOMPARE(
            Desktop.Opened[0],
            QStringLiteral("mailto:?subject=Free Lumenfold Pagewing allows you to send SMS messages to all "
                           "networks, supported by ICQ&body=https://lumenfold.example/pagewing/download"));
        QCOMPARE(Desktop.Opened[1], QStringLiteral("https://lumenfold.example/"));
        QCOMPARE(Desktop.Opened[2], QStringLiteral("https://www.icq.com/register/"));
    }

    void menuHoldsTheNineItemsInOrder() {
        MainFrm window(Desktop);
        window.Load();
        const auto actions = window.Menu().fl().actions();
        QStringList captions;
        for (const auto* action : actions) {
            captions.append(action->text());
        }
        QCOMPARE(captions, (QStringList{"Hide (Or Click On Tray Icon)", "Reconnect", "Get ICQ Number (UIN)",
                                        "User and Server Information", "Run When Windows Starts",
                                        "Always On Top", "Help Topics", "About", "Exit"}));
        QVERIFY(Item(window, "aot")->isChecked());
        QVERIFY(!Item(window, "rwws")->isChecked());
    }

    void alwaysOnTopWhileHiddenChangesSettingAndCheckMarkOnly() {
        GlobalSettings.Showing = false;
        GlobalSettings.TopMost = true;
        RegisteryLoadSave::SaveWindowSettings();
        MainFrm window(Desktop);
        window.Load();
        QCOMPARE(Item(window, "hos")->text(), QStringLiteral("Show (Or Click On Tray Icon)"));
        const auto flags = window.windowFlags();
        Item(window, "aot")->trigger();
        QVERIFY(!GlobalSettings.TopMost);
        QVERIFY(!Item(window, "aot")->isChecked());
        QCOMPARE(window.windowFlags(), flags);
        QVERIFY(StoreBytes().contains("TopMost=False"));
        Item(window, "hos")->trigger();
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(Item(window, "hos")->text(), QStringLiteral("Hide (Or Click On Tray Icon)"));
    }

    void alwaysOnTopWhileShownAppliesAtOnceWithoutMoving() {
        GlobalSettings.SaveLeft = 1500;
        GlobalSettings.SaveTop = 1500;
        GlobalSettings.Showing = true;
        GlobalSettings.TopMost = false;
        RegisteryLoadSave::SaveWindowSettings();
        MainFrm window(Desktop);
        window.Load();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Item(window, "aot")->trigger();
        QVERIFY(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.pos(), QPoint(100, 100));
    }

    void runAtStartTwiceLeavesItOffAndTheEntryHidden() {
        MainFrm window(Desktop);
        window.Load();
        Item(window, "rwws")->trigger();
        QVERIFY(GlobalSettings.StartUp);
        QVERIFY(Item(window, "rwws")->isChecked());
        Item(window, "rwws")->trigger();
        QVERIFY(!GlobalSettings.StartUp);
        QVERIFY(!Item(window, "rwws")->isChecked());
        QVERIFY(StoreBytes().contains("StartUp=False"));
        QFile entry(RegisteryAccess::AutostartEntryFileName());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("\nHidden=true\n"));
    }

    void writesThatFailAreReportedNotHidden() {
        MainFrm window(Desktop);
        window.Load();
        auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
        // A file where a folder belongs: neither the autostart entry nor the settings file can be written.
        const auto blockFolderOf = [](const QString& fileName) {
            const auto folder = QFileInfo(fileName).absolutePath();
            QDir(folder).removeRecursively();
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        };
        blockFolderOf(RegisteryAccess::AutostartEntryFileName());
        Item(window, "rwws")->trigger();
        QVERIFY(!GlobalSettings.StartUp);
        QVERIFY(!Item(window, "rwws")->isChecked());
        QVERIFY(status->Line(status->Count() - 1).contains(RegisteryAccess::AutostartEntryFileName()));

        blockFolderOf(RegisteryLoadSave::StoreFileName());
        Item(window, "aot")->trigger();
        QVERIFY(status->Line(status->Count() - 1)
                    .endsWith(QStringLiteral("    Settings could not be saved to ") +
                              RegisteryLoadSave::StoreFileName()));
        QFile::remove(QFileInfo(RegisteryLoadSave::StoreFileName()).absolutePath());
        QFile::remove(QFileInfo(RegisteryAccess::AutostartEntryFileName()).absolutePath());
    }

    void hideAndShowWithoutATrayKeepTheWindowReachable() {
        Desktop.Tray = false;
        MainFrm window(Desktop);
        window.Load();
        Item(window, "hos")->trigger();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
        window.ShowOrHide();
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }

    void startHiddenWithoutATrayStartsMinimised() {
        Desktop.Tray = false;
        GlobalSettings.Showing = false;
        RegisteryLoadSave::SaveWindowSettings();
        MainFrm window(Desktop);
        window.Load();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
    }

private:
    test::FakeDesktopIntegration Desktop;
};

PAGEWING_QTEST_MAIN(OptionsAboutMenuTest)
#include "OptionsAboutMenuTest.moc"
