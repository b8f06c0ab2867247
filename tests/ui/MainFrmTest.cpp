#include "ui/MainFrm.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "ui/ImageButton.h"
#include "ui/LimitedTextEdit.h"
#include "ui/MnuFrm.h"
#include "ui/StatusList.h"

#include "support/FakeDesktopIntegration.h"
#include "support/QtTestEnvironment.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

using namespace pagewing;

namespace {

struct Controls {
    explicit Controls(MainFrm& window)
        : Number(window.findChild<QComboBox*>(QStringLiteral("cmbMobileNumber")))
        , Sender(window.findChild<QLineEdit*>(QStringLiteral("txtSenderID")))
        , Message(window.findChild<LimitedTextEdit*>(QStringLiteral("txtSMS")))
        , Bar(window.findChild<QProgressBar*>(QStringLiteral("ProgressMessageLength")))
        , Status(window.findChild<StatusList*>(QStringLiteral("lstStatus")))
        , Send(window.findChild<ImageButton*>(QStringLiteral("cmdSendMessage")))
        , Clear(window.findChild<ImageButton*>(QStringLiteral("cmdClearMessage"))) {}

    QComboBox* Number;
    QLineEdit* Sender;
    LimitedTextEdit* Message;
    QProgressBar* Bar;
    StatusList* Status;
    ImageButton* Send;
    ImageButton* Clear;
};

void Paste(QWidget* target, const QString& text) {
    QApplication::clipboard()->setText(text);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
}

} // namespace

class MainFrmTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        test::ForgetStoredSettings();
        GlobalSettings = {};
        Desktop.Tray = false;
        Desktop.PlaceWindows = true;
        Desktop.KeepOnTop = true;
    }

    void startWithoutAnAccountMakesNoConnectionAndSaysSo() {
        MainFrm window(Desktop);
        window.Load();
        const Controls c(window);
        QCOMPARE(c.Status->Count(), 1);
        QVERIFY(c.Status->Line(0).contains(QStringLiteral("User and Server Information")));
        QVERIFY(c.Send->Enable());
        QVERIFY(window.isVisible());
        QCOMPARE(window.pos(), QPoint(0, 0));
    }

    void messageAndSenderShareTheAllowance() {
        MainFrm window(Desktop);
        window.show();
        const Controls c(window);
        QTest::keyClicks(c.Message, QString(150, u'm'));
        QCOMPARE(c.Message->TextLength(), 140);
        QCOMPARE(c.Sender->maxLength(), 0);
        QTest::keyClicks(c.Sender, QStringLiteral("Ann"));
        QCOMPARE(c.Sender->text(), QString());
        QCOMPARE(c.Bar->value(), 140);

        c.Message->clear();
        QTest::keyClicks(c.Sender, QString(25, u's'));
        QCOMPARE(c.Sender->text().size(), 20);
        QTest::keyClicks(c.Message, QString(130, u'm'));
        QCOMPARE(c.Message->TextLength(), 120);
        QCOMPARE(c.Bar->value(), 140);

        c.Sender->clear();
        c.Message->clear();
        QTest::keyClicks(c.Message, QString(130, u'm'));
        QCOMPARE(c.Sender->maxLength(), 10);
        QTest::keyClicks(c.Sender, QString(12, u's'));
        QCOMPARE(c.Sender->text().size(), 10);
        QCOMPARE(c.Bar->value(), 140);
    }

    void pasteIsCutToWhatFits() {
        MainFrm window(Desktop);
        window.show();
        const Controls c(window);
        QTest::keyClicks(c.Sender, QStringLiteral("Ann"));
        QTest::keyClicks(c.Message, QStringLiteral("Hello "));
        Paste(c.Message, QString(200, u'x'));
        QCOMPARE(c.Message->TextLength(), 137);
        QVERIFY(c.Message->toPlainText().startsWith(QStringLiteral("Hello xxx")));
        c.Message->clear();
        Paste(c.Message, QString(130, u'y'));
        Paste(c.Sender, QString(30, u'z'));
        QCOMPARE(c.Sender->text(), QStringLiteral("Ann") + QString(7, u'z'));
        QCOMPARE(c.Bar->value(), 140);
    }

    void lineBreaksCountAsTheirTwoCharacters() {
        MainFrm window(Desktop);
        window.show();
        const Controls c(window);
        QTest::keyClicks(c.Sender, QStringLiteral("Ann"));
        QTest::keyClicks(c.Message, QStringLiteral("one"));
        QTest::keyClick(c.Message, Qt::Key_Return);
        QTest::keyClicks(c.Message, QStringLiteral("two"));
        QCOMPARE(window.ComposedMessage(), QStringLiteral("Ann:\r\none\r\ntwo"));
        QCOMPARE(c.Bar->value(), 3 + 8);
    }

    void sendWithoutAConnectionFailsAndStillStoresTheWholeEntry() {
        GlobalSettings.ICQUIN = u"100200300";
        MainFrm window(Desktop);
        window.show();
        const Controls c(window);
        c.Number->setEditText(QStringLiteral("Ann Lee 0123456"));
        QTest::mouseClick(c.Send, Qt::LeftButton);
        QVERIFY(c.Status->Line(c.Status->CurrentRow())
                    .endsWith(QStringLiteral("    Not logged in yet: the message was not sent")));
        QCOMPARE(c.Status->CurrentRow(), c.Status->Count() - 1);
        RegisteryLoadSave::LoadTelephoneList();
        QVERIFY(GlobalSettings.TelephoneList == u"Ann Lee 0123456");
        QCOMPARE(c.Number->count(), 1);
        QCOMPARE(c.Number->currentText(), QStringLiteral("Ann Lee 0123456"));

        for (const auto* entry : {"0123", "Ann Lee 0123456", "012", ""}) {
            c.Number->setEditText(QLatin1String(entry));
            QTest::mouseClick(c.Send, Qt::LeftButton);
        }
        RegisteryLoadSave::LoadTelephoneList();
        QVERIFY(GlobalSettings.TelephoneList == u"Ann Lee 0123456,0123,012");
        QCOMPARE(c.Number->count(), 3);
        QCOMPARE(c.Number->itemText(2), QStringLiteral("012"));
    }

    void tabGoesNumberSenderMessageClearSend() {
        MainFrm window(Desktop);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const Controls c(window);
        c.Number->setFocus();
        QWidget* expected[] = {c.Sender, c.Message, c.Clear, c.Send};
        for (auto* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void storedPositionIsUsedAndSavedAfterADrag() {
        GlobalSettings.SaveLeft = 1500;
        GlobalSettings.SaveTop = 750;
        GlobalSettings.Showing = true;
        RegisteryLoadSave::SaveWindowSettings();
        MainFrm window(Desktop);
        window.Load();
        QCOMPARE(window.pos(), QPoint(100, 50));
        auto* strip = window.findChild<QWidget*>(QStringLiteral("Image1"));
        QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(50, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(90, 30), strip->mapToGlobal(QPointF(90, 30)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(strip, &move);
        QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(90, 30));
        QCOMPARE(window.pos(), QPoint(140, 70));
        RegisteryLoadSave::LoadWindowSettings();
        QCOMPARE(GlobalSettings.SaveLeft, 140 * 15);
        QCOMPARE(GlobalSettings.SaveTop, 70 * 15);
    }

    void positionOffEveryScreenComesBack() {
        GlobalSettings.SaveLeft = -90000;
        GlobalSettings.SaveTop = 90000;
        GlobalSettings.Showing = true;
        RegisteryLoadSave::SaveWindowSettings();
        MainFrm window(Desktop);
        window.Load();
        const auto screen = window.screen()->geometry();
        QVERIFY(screen.contains(window.geometry()));
    }

    void hideAndShowSaveTheChoice() {
        MainFrm window(Desktop);
        window.Load();
        window.ShowOrHide();
        RegisteryLoadSave::LoadWindowSettings();
        QVERIFY(!GlobalSettings.Showing);
        window.ShowOrHide();
        RegisteryLoadSave::LoadWindowSettings();
        QVERIFY(GlobalSettings.Showing);
        QVERIFY(window.isVisible());
    }

    void commandMenuOpensFromTheCaptionAndTheKeyboard_data() {
        QTest::addColumn<bool>("tray");
        QTest::newRow("with a tray") << true;
        QTest::newRow("without a tray") << false;
    }

    void commandMenuOpensFromTheCaptionAndTheKeyboard() {
        QFETCH(bool, tray);
        Desktop.Tray = tray;
        MainFrm window(Desktop);
        window.Load();
        // Without an account the options open in front; the keys are typed into the main window.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* caption = window.findChild<QWidget*>(QStringLiteral("Image1"));
        auto* mark = window.findChild<QWidget*>(QStringLiteral("CaptionIcon"));
        const auto underTheMark = mark->mapToGlobal(QPoint(0, mark->height()));
        const struct {
            const char* way;
            std::function<void()> open;
            QPoint at;
        } ways[] = {
            {"left click on the mark", [&] { QTest::mousePress(mark, Qt::LeftButton, {}, QPoint(5, 6)); },
             mark->mapToGlobal(QPoint(5, 6))},
            {"right click on the caption",
             [&] {
                 QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(200, 9),
                                         caption->mapToGlobal(QPoint(200, 9)));
                 QApplication::sendEvent(caption, &click);
             },
             caption->mapToGlobal(QPoint(200, 9))},
            {"Shift+F10",
             [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier); },
             underTheMark},
            {"Menu key", [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Menu); }, underTheMark},
        };
        for (const auto& way : ways) {
            Desktop.PoppedUp = nullptr;
            way.open();
            QVERIFY2(Desktop.PoppedUp == &window.Menu().fl(), way.way);
            QCOMPARE(Desktop.MenuPosition, way.at);
        }
        // A left press elsewhere on the caption still moves the window.
        Desktop.PoppedUp = nullptr;
        QTest::mousePress(caption, Qt::LeftButton, {}, QPoint(200, 9));
        QTest::mouseRelease(caption, Qt::LeftButton, {}, QPoint(200, 9));
        QVERIFY(Desktop.PoppedUp == nullptr);
    }

    void showingFollowsTheWindowHoweverItWasShown() {
        MainFrm window(Desktop);
        window.Load();
        QAction* hos = window.Menu().fl().actions().constFirst();
        window.ShowOrHide();
        QVERIFY(window.isMinimized());
        QCOMPARE(hos->text(), QStringLiteral("Show"));
        // Restored from the task bar, not through the program.
        window.showNormal();
        QTRY_VERIFY(GlobalSettings.Showing);
        QCOMPARE(hos->text(), QStringLiteral("Hide"));
        RegisteryLoadSave::LoadWindowSettings();
        QVERIFY(GlobalSettings.Showing);
        // Minimised by the window manager.
        window.showMinimized();
        RegisteryLoadSave::LoadWindowSettings();
        QVERIFY(!GlobalSettings.Showing);
    }

    void desktopThatPlacesWindowsItselfGetsTheMoveAndTheKeepOnTop() {
        Desktop.PlaceWindows = false;
        Desktop.KeepOnTop = false;
        GlobalSettings.SaveLeft = 1500;
        GlobalSettings.SaveTop = 750;
        GlobalSettings.TopMost = true;
        GlobalSettings.Showing = true;
        RegisteryLoadSave::SaveWindowSettings();
        MainFrm window(Desktop);
        window.Load();
        QCOMPARE(window.pos(), QPoint(0, 0));
        QTest::mousePress(window.findChild<QWidget*>(QStringLiteral("Image1")), Qt::LeftButton, {},
                          QPoint(50, 10));
        QCOMPARE(Desktop.SystemMoves, 1);
        auto* aot = window.Menu().fl().findChild<QAction*>(QStringLiteral("aot"));
        QVERIFY(!aot->isEnabled());
        QVERIFY(!aot->isChecked());
        QVERIFY(!aot->toolTip().isEmpty());
        // The stored choices stay for a desktop that honours them.
        RegisteryLoadSave::LoadWindowSettings();
        QCOMPARE(GlobalSettings.SaveLeft, 1500);
        QVERIFY(GlobalSettings.TopMost);
    }

private:
    test::FakeDesktopIntegration Desktop;
};

PAGEWING_QTEST_MAIN(MainFrmTest)
#include "MainFrmTest.moc"
