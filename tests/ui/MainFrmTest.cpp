#include "ui/MainFrm.h"
#include "desktop/RegisteryAccess.h"
#include "platform/ProductInfo.h"
#include "platform/RegisteryLoadSave.h"
#include "service/History.h"
#include "session/GlobalSettings.h"
#include "ui/AboutFrm.h"
#include "ui/ImageButton.h"
#include "ui/LimitedTextEdit.h"
#include "ui/MnuFrm.h"
#include "ui/StatusList.h"
#include "ui/UserServerInfo.h"

#include "support/DestinationCases.h"
#include "support/FakeDesktopIntegration.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cctype>
#include <memory>

using namespace pagewing;

namespace {

template <typename Control = QWidget>
Control* Find(const QWidget& window, const char* name) {
    return window.findChild<Control*>(QLatin1String(name));
}

QString NewestLine(const MainFrm& window) {
    const auto* status = Find<StatusList>(window, "lstStatus");
    return status->Count() == 0 ? QString() : status->Line(status->Count() - 1);
}

QAction* Item(MainFrm& window, const char* name) {
    return window.Menu().fl().findChild<QAction*>(QLatin1String(name));
}

QByteArray FileBytes(const QString& fileName) {
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// An account whose login server refuses at once: a port that was just free on loopback.
void StoreAccountOnAClosedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    test::SeedAccount(QStringLiteral("127.0.0.1"), QString::number(server.serverPort()));
}

void BlockFolderOf(const QString& fileName) {
    const auto folder = QFileInfo(fileName).absolutePath();
    QDir(folder).removeRecursively();
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
}

// The rows of a test that runs with a notification area and without one.
void TrayOrNone() {
    QTest::addColumn<bool>("tray");
    QTest::newRow("with a tray") << true;
    QTest::newRow("without a tray") << false;
}

} // namespace

class MainFrmTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        test::ForgetStoredSettings();
        GlobalSettings = {};
        Desktop = std::make_unique<test::FakeDesktopIntegration>();
    }

    // Typing and sending.

    void senderAndMessageShareTheAllowance() {
        // What goes into the boxes in turn ('s' the sender name, 'm' the message; upper case: pasted), then
        // what they hold and what the bar counts. A line break counts as the CR LF it is sent as.
        const struct {
            std::vector<std::pair<char, QString>> Input;
            QString Sender;
            QString Message;
            int Used;
        } cases[] = {
            {{{'m', QString(150, 'm')}, {'s', "Ann"}}, "", QString(140, 'm'), 140},
            {{{'s', QString(25, 's')}, {'m', QString(130, 'm')}}, QString(20, 's'), QString(120, 'm'), 140},
            {{{'s', "Ann"}, {'m', "Hi "}, {'M', QString(200, 'x')}}, "Ann", "Hi " + QString(134, 'x'), 140},
            {{{'M', QString(130, 'y')}, {'S', QString(30, 'z')}}, QString(10, 'z'), QString(130, 'y'), 140},
            {{{'s', "Ann"}, {'M', "one\ntwo"}}, "Ann", "one\r\ntwo", 11},
        };
        for (const auto& [input, sender, message, used] : cases) {
            MainFrm window(*Desktop);
            window.show();
            for (const auto& [box, text] : input) {
                auto* target = Find(window, std::tolower(box) == 's' ? "txtSenderID" : "txtSMS");
                if (std::isupper(box)) {
                    QApplication::clipboard()->setText(text);
                    target->setFocus();
                    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
                } else {
                    QTest::keyClicks(target, text);
                }
            }
            QCOMPARE(Find<QLineEdit>(window, "txtSenderID")->text(), sender);
            QCOMPARE(Find<LimitedTextEdit>(window, "txtSMS")->Text(), message);
            QCOMPARE(Find<QProgressBar>(window, "ProgressMessageLength")->value(), used);
        }
    }

    void sendBeforeTheLoginQueuesAndRemembersTheNumber() {
        GlobalSettings.ICQUIN = u"100200300";
        MainFrm window(*Desktop);
        window.show();
        auto* number = Find<QComboBox>(window, "cmbMobileNumber");
        auto* message = Find<LimitedTextEdit>(window, "txtSMS");
        message->setPlainText(QStringLiteral("Hi"));
        const auto queued = QStringLiteral("Queued: the message will be sent when connected");
        for (const auto& destination : test::DestinationCases) {
            number->setEditText(QLatin1String(destination.Entry));
            QTest::mouseClick(Find(window, "cmdSendMessage"), Qt::LeftButton);
            const QString refusal = QLatin1String(destination.Refusal);
            QCOMPARE(NewestLine(window).section(QStringLiteral("    "), 1),
                     refusal.isEmpty() ? QLatin1String(destination.Number) + QStringLiteral(": ") + queued
                                       : refusal);
            QCOMPARE(number->currentText(), QLatin1String(destination.Entry));
            if (refusal.isEmpty()) {
                const auto record = window.Messages().Records().Newest(1).value(0);
                QCOMPARE(record.Destination, QLatin1String(destination.Number));
                QCOMPARE(record.To(),
                         QString(QLatin1String(destination.Name) + u' ' + QLatin1String(destination.Number))
                             .trimmed());
            }
        }
        // Whole entries count, letter case included; a comma is stored as a space, so it reads back as one.
        RegisteryLoadSave::LoadTelephoneList();
        QVERIFY(GlobalSettings.TelephoneList.starts_with(u"+1 (555) 123-4567,Ann Lee +1 555 123 4567"));
        QVERIFY(GlobalSettings.TelephoneList.ends_with(u"Smith  Ann (555)-0100,Ann (work) 555.0100,"
                                                       u"12345678901234567890,Ann 555"));
        for (const auto* entry : {"Ann 555", "ann 555"}) {
            number->setEditText(QLatin1String(entry));
            QTest::mouseClick(Find(window, "cmdSendMessage"), Qt::LeftButton);
        }
        QCOMPARE(number->count(), 9);
        message->clear();
        QTest::mouseClick(Find(window, "cmdSendMessage"), Qt::LeftButton);
        QVERIFY(NewestLine(window).endsWith(u"    No message to send"));
    }

    // Exit with messages waiting asks first: Cancel keeps the window and its outbox, Exit leaves the messages
    // queued for the next start.
    void exitWithMessagesWaitingAsksFirst() {
        MainFrm window(*Desktop);
        window.show();
        Find<QComboBox>(window, "cmbMobileNumber")->setEditText(QStringLiteral("5550101"));
        Find<LimitedTextEdit>(window, "txtSMS")->setPlainText(QStringLiteral("Hi"));
        QTest::mouseClick(Find(window, "cmdSendMessage"), Qt::LeftButton);
        const auto* waiting = Find<QLabel>(window, "lblWaiting");
        QVERIFY(waiting->isVisible());
        QCOMPARE(waiting->accessibleName(), QStringLiteral("1 message waiting"));
        QTRY_COMPARE(Desktop->StateWords.value(Desktop->StateWords.size() - 1),
                     QStringLiteral("Not connected \u2014 1 message waiting"));
        const auto id = window.Messages().Records().Newest(1).value(0).Id;
        QString question;
        for (const auto* answer : {"Cancel", "Exit"}) {
            QTimer::singleShot(0, [&question, answer] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                question = box->text();
                for (auto* button : box->buttons()) {
                    if (box->buttonRole(button) ==
                        (*answer == 'E' ? QMessageBox::AcceptRole : QMessageBox::RejectRole)) {
                        button->click();
                    }
                }
            });
            window.close();
            QCOMPARE(window.isVisible(), *answer == 'C');
        }
        QCOMPARE(question,
                 QStringLiteral("1 message is waiting to be sent. Exit anyway? They will be sent at the "
                                "next start."));
        History history(History::DefaultFileName());
        QVERIFY(history.Open());
        QCOMPARE(history.Find(id)->State, MessageState::Queued);
    }

    void unsendableCharactersAreMarkedAsTheyCome() {
        MainFrm window(*Desktop);
        auto* message = Find<LimitedTextEdit>(window, "txtSMS");
        message->insertPlainText(QStringLiteral("Hi \u20AC\U0001F600\nok"));
        QTest::sendKeyEvent(QTest::Click, message, Qt::Key_unknown, QStringLiteral("\u0416"), Qt::NoModifier);
        QStringList marked;
        for (const auto& mark : message->extraSelections()) {
            marked.append(mark.cursor.selectedText());
            QCOMPARE(mark.format.underlineStyle(), QTextCharFormat::WaveUnderline);
        }
        QCOMPARE(marked, (QStringList{QStringLiteral("\U0001F600"), QStringLiteral("\u0416")}));
    }

    void deleteInTheOpenNumberListForgetsTheHighlightedEntry() {
        GlobalSettings.TelephoneList = u"Ann 0123,4567,Bob 89";
        RegisteryLoadSave::SaveTelephoneList();
        MainFrm window(*Desktop);
        window.Load();
        auto* number = Find<QComboBox>(window, "cmbMobileNumber");
        number->setEditText(QStringLiteral("Typed 555"));
        // Meanwhile a command stored a number of its own.
        GlobalSettings.TelephoneList = u"Ann 0123,4567,Bob 89,Cron 777";
        RegisteryLoadSave::SaveTelephoneList();
        number->showPopup();
        // The box's current item, which it would otherwise replace the typed text with.
        number->view()->setCurrentIndex(number->model()->index(number->currentIndex(), 0));
        QTest::keyClick(number->view(), Qt::Key_Delete);
        QCOMPARE(number->count(), 2);
        QCOMPARE(number->itemText(0), QStringLiteral("4567"));
        QCOMPARE(number->currentText(), QStringLiteral("Typed 555"));
        RegisteryLoadSave::LoadTelephoneList();
        QVERIFY(GlobalSettings.TelephoneList == u"4567,Bob 89,Cron 777");
    }

    // The window on the desktop.

    void positionIsStoredInTwipsWhereTheDesktopLetsUsPlaceWindows_data() {
        QTest::addColumn<bool>("wayland");
        QTest::newRow("X11") << false;
        QTest::newRow("Wayland") << true;
    }

    void positionIsStoredInTwipsWhereTheDesktopLetsUsPlaceWindows() {
        QFETCH(bool, wayland);
        Desktop->Wayland = wayland;
        GlobalSettings.SaveLeft = 1500;
        GlobalSettings.SaveTop = 750;
        GlobalSettings.Showing = true;
        RegisteryLoadSave::SaveWindowSettings();
        MainFrm window(*Desktop);
        window.Load();
        QCOMPARE(window.pos(), wayland ? QPoint(0, 0) : QPoint(100, 50));
        // A drag on the title strip; on Wayland the compositor moves the window, and remembers where.
        auto* strip = Find(window, "Image1");
        QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(50, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(90, 30), strip->mapToGlobal(QPointF(90, 30)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(strip, &move);
        QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(90, 30));
        QCOMPARE(Desktop->SystemMoves, wayland ? 1 : 0);
        RegisteryLoadSave::LoadWindowSettings();
        QCOMPARE(QPoint(GlobalSettings.SaveLeft, GlobalSettings.SaveTop),
                 wayland ? QPoint(1500, 750) : QPoint(140, 70) * 15);
    }

    void showingAndKeepOnTopFollowTheWindow_data() { TrayOrNone(); }

    void showingAndKeepOnTopFollowTheWindow() {
        QFETCH(bool, tray);
        Desktop->Tray = tray;
        GlobalSettings.SaveLeft = 1500;
        GlobalSettings.SaveTop = 1500;
        GlobalSettings.TopMost = true;
        RegisteryLoadSave::SaveWindowSettings();
        MainFrm window(*Desktop);
        window.Load();
        // Hidden in the tray, or minimised where there is none to bring it back from.
        QCOMPARE(window.isVisible(), !tray);
        QVERIFY(tray || window.isMinimized());
        auto* hos = Item(window, "hos");
        const auto caption = [tray](const char* word) {
            return QString::fromLatin1(word) +
                   (tray ? QStringLiteral(" (Or Click On Tray Icon)") : QString());
        };
        QCOMPARE(hos->text(), caption("Show"));
        // Keep-on-top changed while hidden: the setting and the check mark now, the window when shown.
        Item(window, "aot")->trigger();
        QVERIFY(!GlobalSettings.TopMost && !Item(window, "aot")->isChecked());
        QVERIFY(FileBytes(RegisteryLoadSave::StoreFileName()).contains("TopMost=False"));
        hos->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.isMinimized() && !window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(hos->text(), caption("Hide"));
        Item(window, "aot")->trigger();
        QVERIFY(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.pos(), QPoint(100, 100));
        // Minimised by the window manager, restored from the task bar: the menu and the next start follow.
        window.showMinimized();
        QCOMPARE(hos->text(), caption("Show"));
        RegisteryLoadSave::LoadWindowSettings();
        QVERIFY(!GlobalSettings.Showing);
        window.showNormal();
        QTRY_COMPARE(hos->text(), caption("Hide"));
        RegisteryLoadSave::LoadWindowSettings();
        QVERIFY(GlobalSettings.Showing);
    }

    void commandMenuOpensFromTheCaptionMarkAndTheKeyboard_data() { TrayOrNone(); }

    void commandMenuOpensFromTheCaptionMarkAndTheKeyboard() {
        QFETCH(bool, tray);
        Desktop->Tray = tray;
        MainFrm window(*Desktop);
        window.Load();
        // Without an account the options open in front; the keys are typed into the main window.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // A right click on the caption is CaptionMenuTest's, through a real X server.
        auto* mark = Find(window, "CaptionIcon");
        QTest::mousePress(mark, Qt::LeftButton, {}, QPoint(5, 6));
        QVERIFY(Desktop->PoppedUp == &window.Menu().fl());
        QCOMPARE(Desktop->MenuPosition, mark->mapToGlobal(QPoint(5, 6)));
        // F10 anywhere; Shift+F10 and the Menu key in a text box open its own menu, elsewhere this one.
        const struct {
            const char* Focus;
            QKeyCombination Keys;
            bool CommandMenu;
        } presses[] = {
            {"cmbMobileNumber", QKeyCombination(Qt::Key_F10), true},
            {"txtSMS", QKeyCombination(Qt::Key_F10), true},
            {"cmbMobileNumber", QKeyCombination(Qt::ShiftModifier, Qt::Key_F10), false},
            {"txtSenderID", QKeyCombination(Qt::Key_Menu), false},
            {"txtSMS", QKeyCombination(Qt::ShiftModifier, Qt::Key_F10), false},
            {"cmdSendMessage", QKeyCombination(Qt::ShiftModifier, Qt::Key_F10), true},
            {"cmdClearMessage", QKeyCombination(Qt::Key_Menu), true},
        };
        for (const auto& [focus, keys, commandMenu] : presses) {
            Desktop->PoppedUp = nullptr;
            Find(window, focus)->setFocus();
            QTest::keyClick(window.windowHandle(), keys.key(), keys.keyboardModifiers());
            auto* ownMenu = QApplication::activePopupWidget();
            QVERIFY2(commandMenu ? Desktop->PoppedUp == &window.Menu().fl() && ownMenu == nullptr
                                 : Desktop->PoppedUp == nullptr && ownMenu != nullptr,
                     focus);
            if (ownMenu != nullptr) {
                ownMenu->close();
            }
        }
        QCOMPARE(Desktop->MenuPosition, mark->mapToGlobal(QPoint(0, mark->height())));
    }

    // The options, the About window and the menu's commands.

    // What a first start shows, under a window manager, is WindowManagerTest's.
    void optionsTakeTheAccountAndLogInAgain() {
        StoreAccountOnAClosedPort();
        MainFrm window(*Desktop);
        window.Load();
        QTRY_VERIFY(NewestLine(window).endsWith(u"    Reconnecting in 2 seconds"));
        // Escape leaves the account as it was, whatever was typed.
        window.ShowOptions();
        Find<QLineEdit>(*window.findChild<UserServerInfo*>(), "txtICQUIN")->setText(QStringLiteral("4242"));
        QTest::keyClick(window.findChild<UserServerInfo*>(), Qt::Key_Escape);
        QVERIFY(GlobalSettings.ICQUIN == u"100200300");
        QTRY_VERIFY(window.findChild<UserServerInfo*>() == nullptr);
        // OK with nothing changed still saves and logs in again.
        QFile::remove(RegisteryLoadSave::StoreFileName());
        const auto* status = Find<StatusList>(window, "lstStatus");
        const auto lines = status->Count();
        window.ShowOptions();
        QTest::mouseClick(Find(*window.findChild<UserServerInfo*>(), "OkButton1"), Qt::LeftButton);
        // It starts over: the first wait again.
        QTRY_VERIFY(status->Count() > lines + 1 &&
                    status->Line(status->Count() - 2).contains(u"    Connection refused by 127.0.0.1:") &&
                    NewestLine(window).endsWith(u"    Reconnecting in 2 seconds"));
        QVERIFY(FileBytes(RegisteryLoadSave::StoreFileName()).contains("ICQUIN=100200300"));
        // Not connected, Send queues, and says so.
        const auto* send = Find<ImageButton>(window, "cmdSendMessage");
        QVERIFY(send->Enable());
        QCOMPARE(send->toolTip(), QStringLiteral("Queue: sent when connected"));
        QCOMPARE(send->accessibleDescription(), send->toolTip());
    }

    void optionsAreCheckedBeforeTheyAreKept_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("marked");
        QTest::addColumn<QString>("problem");
        const QStringList right{"login.example.net", "5190", "100200300", "secret"};
        const auto with = [&right](int field, const char* text) {
            auto fields = right;
            fields[field] = QLatin1String(text);
            return fields;
        };
        const QString port = "Login port must be a whole number from 1 to 65535";
        const QString uin = "ICQ number must be a whole number from 1 to 2147483647";
        QTest::newRow("all right") << right << ""
                                   << "";
        QTest::newRow("server blank") << with(0, "  ") << "txtLoginURL"
                                      << "Enter the login server's host name";
        QTest::newRow("port with letters") << with(1, "99999x") << "txtLoginPort" << port;
        QTest::newRow("port 0") << with(1, "0") << "txtLoginPort" << port;
        QTest::newRow("port 65536") << with(1, "65536") << "txtLoginPort" << port;
        QTest::newRow("number with letters") << with(2, "my-uin-abc") << "txtICQUIN" << uin;
        QTest::newRow("number 2147483648") << with(2, "2147483648") << "txtICQUIN" << uin;
        QTest::newRow("number 2147483647") << with(2, "2147483647") << ""
                                           << "";
        QTest::newRow("password of 17") << with(3, "12345678901234567") << "txtICQPassword"
                                        << "Password must be 1 to 16 characters";
        // Empty is not marked, as it is only waiting to be filled, but OK waits too.
        QTest::newRow("number empty") << with(2, "") << "" << uin;
    }

    void optionsAreCheckedBeforeTheyAreKept() {
        QFETCH(QStringList, fields);
        QFETCH(QString, marked);
        QFETCH(QString, problem);
        QPointer options = new UserServerInfo(*Desktop);
        options->show();
        const char* names[] = {"txtLoginURL", "txtLoginPort", "txtICQUIN", "txtICQPassword"};
        for (int i = 0; i < 4; ++i) {
            Find<QLineEdit>(*options, names[i])->setText(fields[i]);
        }
        for (const auto* name : names) {
            auto* field = Find<QLineEdit>(*options, name);
            QCOMPARE(field->property("invalid").toBool(), marked == QLatin1String(name));
            QVERIFY(marked != QLatin1String(name) || field->accessibleDescription() == problem);
        }
        QCOMPARE(Find<QLabel>(*options, "lblProblem")->text(), problem);
        // Screen readers hear OK as disabled while it shows so.
        auto* ok = QAccessible::queryAccessibleInterface(Find(*options, "OkButton1"));
        QCOMPARE(ok->state().disabled, !problem.isEmpty());
        QSignalSpy entered(options, &UserServerInfo::LoginSettingsEntered);
        QTest::keyClick(Find(*options, "txtICQUIN"), Qt::Key_Return);
        QCOMPARE(entered.count(), problem.isEmpty() ? 1 : 0);
        QCOMPARE(QString::fromStdU16String(GlobalSettings.LoginPort),
                 problem.isEmpty() ? fields[1] : QString());
        delete options;
    }

    void optionsTabFromTheServerToCancel() {
        QPointer options = new UserServerInfo(*Desktop);
        options->show();
        QVERIFY(QTest::qWaitForWindowActive(options));
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(order, (QStringList{"txtLoginURL", "txtLoginPort", "txtICQUIN", "txtICQPassword",
                                     "OkButton1", "cmdCancel"}));
        auto* server = Find<QLineEdit>(*options, "txtLoginURL");
        QVERIFY(server->fontMetrics().horizontalAdvance(QStringLiteral("login.messaging.example.com.au")) <
                server->contentsRect().width() - 4);
        QCOMPARE(options->windowTitle(), QStringLiteral("User and Server Information"));
        delete options;
    }

    void aboutOpensWithoutTheKeyboardAndItsBoxIsStoredAtOnce() {
        StoreAccountOnAClosedPort();
        GlobalSettings.ShowHelp = 1;
        RegisteryLoadSave::SaveWindowSettings();
        MainFrm window(*Desktop);
        window.Load();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmbMobileNumber"));
        auto& about = window.About();
        auto* box = Find<QCheckBox>(about, "chkShowHelp");
        QVERIFY(about.isVisible() && box->isChecked());
        box->click();
        QVERIFY(FileBytes(RegisteryLoadSave::StoreFileName()).contains("ShowHelp=0"));
        emit Find<QLabel>(about, "lblLink")->linkActivated(QString());
        Item(window, "hlpt")->trigger();
        QCOMPARE(Desktop->Opened, (QStringList{ProductInfo::MakerWebSite, ProductInfo::HelpFileName}));
    }

    void startAtLogonFollowsItsItemAndWritesThatFailAreReported() {
        MainFrm window(*Desktop);
        window.Load();
        auto* rwws = Item(window, "rwws");
        rwws->trigger();
        QVERIFY(GlobalSettings.StartUp && rwws->isChecked());
        rwws->trigger();
        QVERIFY(!GlobalSettings.StartUp && !rwws->isChecked());
        // A file where a folder belongs: neither the autostart entry nor the settings file can be written.
        BlockFolderOf(RegisteryAccess::AutostartEntryFileName());
        rwws->trigger();
        QVERIFY(!GlobalSettings.StartUp && !rwws->isChecked());
        QVERIFY(NewestLine(window).contains(RegisteryAccess::AutostartEntryFileName()));
        BlockFolderOf(RegisteryLoadSave::StoreFileName());
        Item(window, "aot")->trigger();
        QVERIFY(NewestLine(window).endsWith(QStringLiteral("    Settings could not be saved to ") +
                                            RegisteryLoadSave::StoreFileName()));
    }

private:
    std::unique_ptr<test::FakeDesktopIntegration> Desktop;
};

PAGEWING_QTEST_MAIN(MainFrmTest)
#include "MainFrmTest.moc"
