// The Message History window over a history of its own: newest first, filtered, following new outcomes, and
// what its buttons and keys do with the rows chosen.

#include "ui/HistoryFrm.h"
#include "service/History.h"
#include "service/Messenger.h"
#include "ui/ImageButton.h"
#include "ui/MainFrm.h"

#include "support/FakeDesktopIntegration.h"
#include "support/QtTestEnvironment.h"

#include <QClipboard>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace pagewing;

class HistoryFrmTest : public QObject {
    Q_OBJECT

private slots:
    void listsFiltersAndActsOnTheChosenMessages() {
        test::FakeDesktopIntegration desktop;
        MainFrm window(desktop);
        window.show();
        auto& records = window.Messages().Records();
        for (const auto& [entry, text] :
             {std::pair{"Ann 5550101", "Tom, \"Jerry\""}, std::pair{"Bob 5550102", "Hi"}}) {
            window.Messages().Submit({QLatin1String(entry), QStringLiteral("Cron"), QLatin1String(text)});
        }
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
        const auto cell = [table](int row, int column) {
            return table->model()->index(row, column).data().toString();
        };
        QCOMPARE(table->model()->rowCount(), 2);
        QCOMPARE(cell(0, 1), QStringLiteral("Bob 5550102"));
        QCOMPARE(cell(0, 3), QStringLiteral("Queued"));

        // A message taken while the window is open shows at the top.
        window.Messages().Submit({QStringLiteral("Cy 5550103"), {}, QStringLiteral("Late")});
        QCOMPARE(cell(0, 2), QStringLiteral("Late"));
        history->findChild<QLineEdit*>(QStringLiteral("txtFilter"))->setText(QStringLiteral("ann"));
        QCOMPARE(table->model()->rowCount(), 1);

        table->setFocus();
        table->selectRow(0);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().endsWith(u"\tAnn 5550101\tCron: Tom, \"Jerry\"\tQueued\n"));
        const QTemporaryDir folder;
        QCOMPARE(history->ExportTo(folder.filePath(QStringLiteral("out.csv"))), QString());
        QFile csv(folder.filePath(QStringLiteral("out.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const auto rows = QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 2);
        QVERIFY(rows.at(1).endsWith(u",Ann 5550101,5550101,Cron,\"Tom, \"\"Jerry\"\"\",queued,0,"));

        history->findChild<ImageButton*>(QStringLiteral("cmdSendAgain"))->click();
        QCOMPARE(records.Newest(10, QStringLiteral("ann")).size(), 2);
        table->selectAll();
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(table->model()->rowCount(), 0);
        // Deleted while queued, they never go out.
        QCOMPARE(records.InState(MessageState::Queued).size(), 2);
        QCOMPARE(records.Newest(10, QStringLiteral("ann")).size(), 0);
    }
};

PAGEWING_QTEST_MAIN(HistoryFrmTest)
#include "HistoryFrmTest.moc"
