// The Message History window over a history of its own: newest first, filtered, following new outcomes, what
// its buttons and keys do with the rows chosen, a server's text shown as text, and its size remembered across
// a restart.

#include "ui/HistoryFrm.h"
#include "platform/RegisteryLoadSave.h"
#include "service/History.h"
#include "service/Messenger.h"
#include "session/GlobalSettings.h"
#include "ui/ImageButton.h"
#include "ui/MainFrm.h"

#include "support/FakeDesktopIntegration.h"
#include "support/QtTestEnvironment.h"

#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <sys/stat.h>

using namespace pagewing;

class HistoryFrmTest : public QObject {
    Q_OBJECT

    // Answers the question the next action asks with the button named, and tells whose window asked.
    static void Answer(const QString& button, QWidget** asker) {
        QTimer::singleShot(0, [button, asker] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            *asker = box ? box->parentWidget() : nullptr;
            for (auto* candidate : box ? box->buttons() : QList<QAbstractButton*>{}) {
                if (candidate->text() == button) {
                    candidate->click();
                }
            }
        });
    }

private slots:
    void listsFiltersAndActsOnTheChosenMessages() {
        test::FakeDesktopIntegration desktop;
        MainFrm window(desktop);
        window.show();
        auto& records = window.Messages().Records();
        const auto hostile = QStringLiteral("<img src=\"/tmp/x.png\"> & <b>bold</b>");
        window.Messages().Submit(
            {QStringLiteral("Ann 5550101"), QStringLiteral("Cron"), QStringLiteral("=1+1, \"Jerry\"")});
        window.Messages().Submit({QStringLiteral("Bob 5550102"), QStringLiteral("Cron"), hostile});
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
        HistoryFrm* history = nullptr;
        for (auto* candidate : QApplication::topLevelWidgets()) {
            history = history ? history : qobject_cast<HistoryFrm*>(candidate);
        }
        // A dialog counts as active while its owner is (QWindow::isActive): wait until it really is.
        QVERIFY(history && QTest::qWaitFor([history] { return QApplication::activeWindow() == history; }));
        auto* table = history->findChild<QTableView*>(QStringLiteral("lstHistory"));
        const auto cell = [table](int row, int column, int role = Qt::DisplayRole) {
            return table->model()->index(row, column).data(role).toString();
        };
        const auto button = [history](const char* name) {
            return history->findChild<ImageButton*>(QLatin1String(name));
        };
        QCOMPARE(table->model()->rowCount(), 2);
        QCOMPARE(cell(0, 1), QStringLiteral("Bob 5550102"));
        QCOMPARE(cell(0, 3), QStringLiteral("Queued"));
        // A server's or a user's markup is text in the tooltip: nothing is drawn or loaded from it.
        QTextDocument tooltip;
        tooltip.setHtml(cell(0, 2, Qt::ToolTipRole));
        QCOMPARE(tooltip.toPlainText(), QStringLiteral("Cron: ") + hostile);
        QVERIFY(!button("cmdSendAgain")->isEnabled() && !button("cmdDelete")->isEnabled());

        // While filtered, a message taken later shows when the filter lets it through, whatever its letter
        // case.
        auto* filter = history->findChild<QLineEdit*>(QStringLiteral("txtFilter"));
        filter->setText(QStringLiteral("\u00E9mile"));
        window.Messages().Submit({QStringLiteral("\u00C9mile 5550103"), {}, QStringLiteral("Late")});
        window.Messages().Submit({QStringLiteral("Cy 5550104"), {}, QStringLiteral("Later")});
        QCOMPARE(table->model()->rowCount(), 1);
        filter->setText(QStringLiteral("ann"));
        QCOMPARE(table->model()->rowCount(), 1);

        table->setFocus();
        table->selectRow(0);
        QVERIFY(button("cmdSendAgain")->isEnabled() && button("cmdDelete")->isEnabled());
        QVERIFY(
            history->findChild<QPlainTextEdit*>()->toPlainText().endsWith(u"Cron: =1+1, \"Jerry\"\nQueued"));
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(
            QApplication::clipboard()->text().endsWith(u"\tAnn 5550101\tCron: =1+1, \"Jerry\"\tQueued\n"));
        // Exported: what the filter lets through, formulas as text, in a file of the owner's alone.
        const QTemporaryDir folder;
        QFile csv(folder.filePath(QStringLiteral("out.csv")));
        const auto umask = ::umask(0);
        history->Export(csv.fileName());
        ::umask(umask);
        QTRY_VERIFY(csv.exists() && !history->findChild<QProgressBar*>()->isVisible());
        QVERIFY(csv.open(QIODevice::ReadOnly) &&
                (csv.permissions() & 0x0777) == (QFile::ReadUser | QFile::WriteUser));
        const auto rows = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QVERIFY(rows.size() == 2 &&
                rows.at(1).endsWith(u",Ann 5550101,5550101,Cron,\"'=1+1, \"\"Jerry\"\"\",queued,0,"));

        button("cmdSendAgain")->click();
        QCOMPARE(records.Newest(10, QStringLiteral("ann")).size(), 2);
        // Several rows are deleted only once the user says so, in a question that belongs to the window.
        table->selectAll();
        QWidget* asker = nullptr;
        Answer(QStringLiteral("Cancel"), &asker);
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(asker, history);
        QCOMPARE(table->model()->rowCount(), 2);
        Answer(QStringLiteral("Delete"), &asker);
        button("cmdDelete")->click();
        QCOMPARE(table->model()->rowCount(), 0);
        // Deleted while queued, they never go out.
        QCOMPARE(records.InState(MessageState::Queued).size(), 3);
        QCOMPARE(records.Newest(10, QStringLiteral("ann")).size(), 0);

        // Its size and column widths come back after a restart.
        history->resize(720, 530);
        table->setColumnWidth(1, 201);
        history->hide();
        QCOMPARE(table->geometry().bottom(), 530 - 56 - 64 - 1);
        GlobalSettings = {};
        RegisteryLoadSave::LoadWindowSettings();
        const HistoryFrm again(window.Messages(), desktop);
        QCOMPARE(again.size(), QSize(720, 530));
        QCOMPARE(again.findChild<QTableView*>()->columnWidth(1), 201);
    }
};

PAGEWING_QTEST_MAIN(HistoryFrmTest)
#include "HistoryFrmTest.moc"
