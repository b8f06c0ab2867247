#include "ui/ScreenPlacement.h"

#include "support/QtTestEnvironment.h"

#include <QTest>

using namespace pagewing;

class ScreenPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void snapsWithinTheMargin_data() {
        // A 1000 × 800 screen has a margin of 8; the 342 × 459 window may go to 658, 341 at most.
        QTest::addColumn<QPoint>("proposed");
        QTest::addColumn<QPoint>("placed");
        QTest::newRow("free") << QPoint(100, 100) << QPoint(100, 100);
        QTest::newRow("within the margin of the left edge") << QPoint(8, 100) << QPoint(0, 100);
        QTest::newRow("just outside it") << QPoint(9, 100) << QPoint(9, 100);
        QTest::newRow("beyond the left edge") << QPoint(-50, 100) << QPoint(0, 100);
        QTest::newRow("near the right edge") << QPoint(650, 100) << QPoint(658, 100);
        QTest::newRow("beyond the right edge") << QPoint(900, 100) << QPoint(658, 100);
        QTest::newRow("near the top") << QPoint(100, 3) << QPoint(100, 0);
        QTest::newRow("near the bottom") << QPoint(100, 335) << QPoint(100, 341);
        QTest::newRow("corner") << QPoint(-3, 999) << QPoint(0, 341);
    }

    void snapsWithinTheMargin() {
        QFETCH(QPoint, proposed);
        QFETCH(QPoint, placed);
        QCOMPARE(ScreenPlacement::SnapToEdges(proposed, QSize(342, 459), QRect(0, 0, 1000, 800)), placed);
    }

    void snapsToTheEdgesOfASecondScreen() {
        const QRect right(1000, 0, 1000, 800);
        QCOMPARE(ScreenPlacement::SnapToEdges(QPoint(1004, 50), QSize(342, 459), right), QPoint(1000, 50));
    }

    void reachablePositionsAreKept() {
        const QList<QRect> screens{QRect(0, 0, 1000, 800)};
        for (const auto at : {QPoint(0, 0), QPoint(658, 341), QPoint(-300, 100), QPoint(900, 700)}) {
            QCOMPARE(ScreenPlacement::KeepReachable(QRect(at, QSize(342, 459)), 24, screens), at);
        }
    }

    void positionOffEveryScreenMovesOntoTheNearest() {
        const QList<QRect> screens{QRect(0, 0, 1000, 800), QRect(1000, 0, 1280, 1024)};
        // A third monitor to the right was unplugged.
        QCOMPARE(ScreenPlacement::KeepReachable(QRect(QPoint(2500, 200), QSize(342, 459)), 24, screens),
                 QPoint(1938, 200));
        QCOMPARE(ScreenPlacement::KeepReachable(QRect(QPoint(-2000, -900), QSize(342, 459)), 24, screens),
                 QPoint(0, 0));
        // Only the title strip's top pixels or a sliver of it show: not enough to take hold of.
        QCOMPARE(ScreenPlacement::KeepReachable(QRect(QPoint(100, 790), QSize(342, 459)), 24, screens),
                 QPoint(100, 341));
        QCOMPARE(ScreenPlacement::KeepReachable(QRect(QPoint(-330, 100), QSize(342, 459)), 24, screens),
                 QPoint(0, 100));
    }
};

PAGEWING_QTEST_MAIN(ScreenPlacementTest)
#include "ScreenPlacementTest.moc"
