#include "ui/StatusList.h"
#include "ui/SkinnedWindow.h"

#include "support/QtTestEnvironment.h"

#include <QAccessible>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <memory>

#include <sys/stat.h>

using namespace pagewing;

class StatusListTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        // The list as the main window places it, under the window's style sheet.
        Window = std::make_unique<QWidget>();
        Window->setStyleSheet(SkinnedWindow::StyleSheet());
        Window->resize(342, 459);
        List = new StatusList(Window.get());
        List->setGeometry(11, 318, 320, 119);
        Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    }

    void keysMoveTheSelectionAndKeepItInView_data() {
        QTest::addColumn<QList<int>>("keys");
        // The row expected: `from` (-1 for the newest) plus `pages` times the whole lines a page holds.
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("pages");
        QTest::newRow("Up") << QList<int>{Qt::Key_Up} << 28 << 0;
        QTest::newRow("Down at the end stays") << QList<int>{Qt::Key_Down} << -1 << 0;
        QTest::newRow("Home, Up stays, Down") << QList<int>{Qt::Key_Home, Qt::Key_Up, Qt::Key_Down} << 1 << 0;
        QTest::newRow("End") << QList<int>{Qt::Key_Home, Qt::Key_End} << -1 << 0;
        QTest::newRow("Page Up") << QList<int>{Qt::Key_PageUp} << -1 << -1;
        QTest::newRow("Page Down") << QList<int>{Qt::Key_Home, Qt::Key_PageDown} << 0 << 1;
        QTest::newRow("Page Up past the top") << QList<int>(6, Qt::Key_PageUp) << 0 << 0;
    }

    void keysMoveTheSelectionAndKeepItInView() {
        QFETCH(QList<int>, keys);
        QFETCH(int, from);
        QFETCH(int, pages);
        Add(30);
        // Every line kept in order, the newest selected and shown at the bottom, whole lines from the top.
        QCOMPARE(List->Count(), 30);
        QCOMPARE(List->Line(7), Dated(7));
        QCOMPARE(List->CurrentRow(), 29);
        QVERIFY(!List->LineRect(0).isValid());
        QCOMPARE(List->LineRect(28).bottom() + 1, List->LineRect(29).top());
        QCOMPARE(List->LineRect(List->LineAt(QPoint(1, 0))).top(), 0);
        const auto page = List->viewport()->height() / List->LineRect(29).height();
        for (const auto key : keys) {
            QTest::keyClick(List, static_cast<Qt::Key>(key));
        }
        const auto expected = (from < 0 ? 29 : from) + pages * page;
        QCOMPARE(List->CurrentRow(), expected);
        const auto shown = List->LineRect(expected);
        QVERIFY(shown.isValid() && shown.bottom() < List->viewport()->height());
    }

    void linesWrapWithinTheWidthAndFollowItsChanges() {
        List->AddLine(Dated(1));
        List->AddLine(Dated(2) + QStringLiteral(": Sorry, but SMS messages not implemented yet..."));
        QCoreApplication::processEvents();
        const auto wrapped = List->LineRect(1);
        QCOMPARE(wrapped.width(), List->viewport()->width());
        QVERIFY(wrapped.height() >= 2 * List->LineRect(0).height() - 2);
        List->resize(List->width() / 2, List->height());
        QCoreApplication::processEvents();
        QVERIFY(List->LineRect(1).height() > wrapped.height());
    }

    void wheelAndClickKeepTheViewWhileNewLinesArrive() {
        Add(30);
        QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, List->LineRect(27).center());
        // Reading an older line: a new one neither moves the view nor takes the selection.
        QTest::keyClick(List, Qt::Key_Home);
        Add(1);
        QVERIFY(List->LineRect(0).isValid() && !List->LineRect(30).isValid());
        QCOMPARE(List->CurrentRow(), 0);
        QTest::keyClick(List, Qt::Key_End);
        const auto top = List->LineAt(QPoint(1, 0));
        const QPointF at(20, 20);
        QWheelEvent wheel(at, List->viewport()->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(List->viewport(), &wheel);
        QCOMPARE(List->LineAt(QPoint(1, 0)), top - QApplication::wheelScrollLines());
        Add(1);
        QVERIFY(!List->LineRect(31).isValid());
        QCOMPARE(List->CurrentRow(), 31);
        // Back at the bottom, the view follows the newest line again.
        QTest::keyClick(List, Qt::Key_End);
        Add(1);
        QVERIFY(List->LineRect(32).isValid());
        QCOMPARE(List->CurrentRow(), 32);
    }

    void shiftAndCtrlSelectAndTheMenuCopiesOrClears() {
        Add(30);
        const auto click = [this](int row, Qt::KeyboardModifiers modifiers) {
            QTest::mouseClick(List->viewport(), Qt::LeftButton, modifiers, List->LineRect(row).center());
        };
        click(25, {});
        click(27, Qt::ShiftModifier);
        click(26, Qt::ControlModifier);
        QTest::keyClick(List, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(List, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), Dated(26) + u'\n' + Dated(27));
        QTest::keyClick(List, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(List->IsSelected(0) && List->IsSelected(29));

        List->OpenMenu(List->LineRect(29).center());
        auto* menu = QApplication::activePopupWidget();
        QVERIFY(menu != nullptr);
        menu->findChild<QAction*>(QStringLiteral("CopyAll"))->trigger();
        QCOMPARE(QApplication::clipboard()->text().split(u'\n').size(), 30);
        QCOMPARE(QApplication::clipboard()->text().split(u'\n').constLast(), Dated(29));
        // Save As makes a file of the owner's alone, whatever the umask.
        const QTemporaryDir folder;
        const auto umask = ::umask(0);
        QVERIFY(List->SaveTo(folder.filePath(QStringLiteral("lines.txt"))));
        ::umask(umask);
        QCOMPARE(QFile::permissions(folder.filePath(QStringLiteral("lines.txt"))) & 0x0777,
                 QFile::ReadUser | QFile::WriteUser);
        menu->findChild<QAction*>(QStringLiteral("Clear"))->trigger();
        QCOMPARE(List->Count(), 0);
        Add(1);
        QCOMPARE(List->CurrentRow(), 0);
    }

    // How a screen reader hears of new lines is AccessibilityTest's, through the desktop's accessibility bus.
    void screenReadersReadEveryLine() {
        List->setAccessibleName(QStringLiteral("Status"));
        Add(3);
        auto* list = QAccessible::queryAccessibleInterface(List);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Status"));
        QCOMPARE(list->childCount(), 3);
        QCOMPARE(list->child(2)->role(), QAccessible::ListItem);
        QCOMPARE(list->child(2)->text(QAccessible::Name), Dated(2));
        QVERIFY(list->child(2)->state().selected && !list->child(1)->state().selected);
    }

    void theNewestLinesAreKeptAndTheViewStays() {
        for (int line = 0; line < StatusList::MaximumLines + 5; ++line) {
            List->AddLine(QString::number(line));
        }
        QCoreApplication::processEvents();
        QCOMPARE(List->Count(), StatusList::MaximumLines);
        QCOMPARE(List->Line(0), QStringLiteral("5"));
        auto* list = QAccessible::queryAccessibleInterface(List);
        QCOMPARE(list->child(0)->text(QAccessible::Name), QStringLiteral("5"));
        // One who reads older lines keeps them in view, and the keyboard on the same line, as the oldest go.
        QTest::keyClick(List, Qt::Key_Home);
        QTest::keyClick(List, Qt::Key_Down);
        QTest::keyClick(List, Qt::Key_PageDown);
        const auto top = List->Line(List->LineAt(QPoint(1, 1)));
        const auto current = List->Line(List->CurrentRow());
        Add(2);
        QCOMPARE(List->Line(List->LineAt(QPoint(1, 1))), top);
        QCOMPARE(List->Line(List->CurrentRow()), current);
        QCOMPARE(list->child(0)->text(QAccessible::Name), QStringLiteral("7"));
    }

private:
    static QString Dated(int second) {
        return QStringLiteral("6 Dec 2026 09:13:%1    Ready to send Message")
            .arg(second % 60, 2, 10, QChar(u'0'));
    }

    // Adds the next lines and lets the event loop lay them out, as it does before a repaint.
    void Add(int count) {
        for (int i = 0; i < count; ++i) {
            List->AddLine(Dated(List->Count()));
        }
        QCoreApplication::processEvents();
    }

    std::unique_ptr<QWidget> Window;
    StatusList* List = nullptr;
};

PAGEWING_QTEST_MAIN(StatusListTest)
#include "StatusListTest.moc"
