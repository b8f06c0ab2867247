// Runs under Xvfb with a window manager (openbox) and a notification area: see run-on-display.sh. What the
// window manager makes of the windows is read from the X server, as a user would see it.

#include "desktop/DesktopIntegration.h"
#include "platform/ProductInfo.h"
#include "platform/RegisteryLoadSave.h"
#include "platform/SingleCopy.h"
#include "session/GlobalSettings.h"
#include "ui/AboutFrm.h"
#include "ui/HistoryFrm.h"
#include "ui/MainFrm.h"
#include "ui/StatusList.h"
#include "ui/UserServerInfo.h"

#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

using namespace pagewing;

namespace {

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The window ids in one property, as xprop prints it, of a window or of the root window.
QList<WId> Windows(const QString& property, WId window = 0) {
    const auto on = window == 0 ? QStringList{QStringLiteral("-root")}
                                : QStringList{QStringLiteral("-id"), QString::number(window)};
    QList<WId> ids;
    static const QRegularExpression id(QStringLiteral("0x[0-9a-f]+"));
    for (const auto& match : id.globalMatch(Run(QStringLiteral("xprop"), on + QStringList{property}))) {
        ids.append(match.captured().toULongLong(nullptr, 16));
    }
    return ids;
}

WId TransientFor(QWidget& window) {
    return Windows(QStringLiteral("WM_TRANSIENT_FOR"), window.winId()).value(0);
}

WId ActiveWindow() {
    return Windows(QStringLiteral("_NET_ACTIVE_WINDOW")).value(0);
}

// Whether the window manager stacks one window over another, bottom to top as it lists them.
bool Above(WId upper, WId lower) {
    const auto stacking = Windows(QStringLiteral("_NET_CLIENT_LIST_STACKING"));
    return stacking.contains(lower) && stacking.indexOf(upper) > stacking.indexOf(lower);
}

bool KeptAbove(QWidget& window) {
    return Run(QStringLiteral("xprop"),
               {QStringLiteral("-id"), QString::number(window.winId()), QStringLiteral("_NET_WM_STATE")})
        .contains(u"_NET_WM_STATE_ABOVE");
}

void Keys(const QStringList& arguments) {
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

} // namespace

class WindowManagerTest : public QObject {
    Q_OBJECT

private slots:
    void atFirstStartTheOptionsOpenOverTheMainWindowAndTakeTheKeyboard() {
        test::ForgetStoredSettings();
        DesktopIntegration desktop;
        MainFrm window(desktop);
        window.Load();
        auto* options = window.findChild<UserServerInfo*>();
        QVERIFY(options != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(options));
        // Always on top at first start: only a window that belongs to it can be over it.
        QTRY_VERIFY(KeptAbove(window));
        for (QWidget* dialog : {static_cast<QWidget*>(options), static_cast<QWidget*>(&window.About())}) {
            QCOMPARE(TransientFor(*dialog), window.winId());
            QTRY_VERIFY2(Above(dialog->winId(), window.winId()), qPrintable(dialog->windowTitle()));
        }
        QTRY_COMPARE(ActiveWindow(), options->winId());
        Keys({QStringLiteral("type"), QStringLiteral("123")});
        QTRY_COMPARE(options->findChild<QLineEdit*>(QStringLiteral("txtICQUIN"))->text(),
                     QStringLiteral("123"));
    }

    void ctrlHAndTheExportDialogOpenOverTheMainWindow() {
        test::SeedShownWindow();
        DesktopIntegration desktop;
        MainFrm window(desktop);
        window.Load();
        window.findChild<UserServerInfo*>()->close();
        QTRY_COMPARE(ActiveWindow(), window.winId());
        Keys({QStringLiteral("key"), QStringLiteral("ctrl+h")});
        QTRY_VERIFY(window.findChild<HistoryFrm*>() != nullptr);
        auto& history = *window.findChild<HistoryFrm*>();
        QCOMPARE(TransientFor(history), window.winId());
        QTRY_VERIFY(Above(history.winId(), window.winId()));
        QTRY_COMPARE(ActiveWindow(), history.winId());

        // The file dialog is modal: it is looked at from inside its own event loop, then closed.
        WId owner = 0;
        bool over = false;
        bool active = false;
        QTimer::singleShot(0, &history, [&] {
            if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; })) {
                return;
            }
            auto* dialog = QApplication::activeModalWidget();
            const auto closing = qScopeGuard([dialog] { dialog->close(); });
            if (QTest::qWaitForWindowExposed(dialog)) {
                owner = TransientFor(*dialog);
                over = QTest::qWaitFor([&] { return Above(dialog->winId(), window.winId()); });
                active = QTest::qWaitFor([&] { return ActiveWindow() == dialog->winId(); });
            }
        });
        history.findChild<QAbstractButton*>(QStringLiteral("cmdExport"))->click();
        QCOMPARE(owner, history.winId());
        QVERIFY(over);
        QVERIFY(active);
    }

    void aSecondStartBringsTheHiddenWindowForwardAndEnds() {
        test::SeedShownWindow();
        // Not on top, so that only being raised puts it over another program's window.
        GlobalSettings.TopMost = false;
        RegisteryLoadSave::SaveWindowSettings();
        QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 10000);
        DesktopIntegration desktop;
        MainFrm window(desktop);
        SingleCopy copy;
        QVERIFY(copy.TryAcquire());
        copy.Listen();
        connect(&copy, &SingleCopy::ShowRequested, &window, &MainFrm::AnswerSecondStart);
        window.Load();
        window.findChild<UserServerInfo*>()->close();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QProcess other;
        other.start(QStringLiteral("xlogo"), {QStringLiteral("-geometry"), QStringLiteral("600x600+0+0")});
        const auto cleanUp = qScopeGuard([&other] {
            other.kill();
            other.waitForFinished();
        });
        QTRY_VERIFY(ActiveWindow() != 0 && ActiveWindow() != window.winId());
        const auto otherWindow = ActiveWindow();
        // Hidden to the tray.
        window.ShowOrHide();
        QTRY_VERIFY(!window.isVisible());

        QProcess second;
        second.start(QStringLiteral(PAGEWING_EXECUTABLE), {});
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY(window.isVisible());
        QTRY_VERIFY(Above(window.winId(), otherWindow));
        QTRY_COMPARE(ActiveWindow(), window.winId());
        const auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
        QVERIFY(
            status->Line(status->Count() - 1).endsWith(QStringLiteral("    ") + ProductInfo::AlreadyRunning));
    }
};

PAGEWING_QTEST_MAIN(WindowManagerTest)
#include "WindowManagerTest.moc"
