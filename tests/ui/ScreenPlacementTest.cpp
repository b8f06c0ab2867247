#include "ui/ScreenPlacement.h"

#include "support/QtTestEnvironment.h"

#include <QTest>

using namespace pagewing;

namespace {

const QSize Window(342, 459);

} // namespace

class ScreenPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void dragSnapsToTheEdgesWithinOnePercentOfTheHeight() {
        // On a 1000 × 800 screen the margin is 8, and the window goes to 658, 341 at most.
        const std::pair<QPoint, QPoint> cases[] = {{{8, 100}, {0, 100}},
                                                   {{9, 100}, {9, 100}},
                                                   {{650, 335}, {658, 341}},
                                                   {{-50, 999}, {0, 341}},
                                                   {{900, 3}, {658, 0}}};
        for (const auto& [proposed, placed] : cases) {
            QCOMPARE(ScreenPlacement::SnapToEdges(proposed, Window, QRect(0, 0, 1000, 800)), placed);
        }
        QCOMPARE(ScreenPlacement::SnapToEdges(QPoint(1004, 50), Window, QRect(1000, 0, 1000, 800)),
                 QPoint(1000, 50));
    }

    void storedPositionThatNoScreenShowsMovesOntoTheNearest() {
        const auto placed = [](QPoint stored) {
            return ScreenPlacement::KeepReachable(QRect(stored, Window), 24,
                                                  {QRect(0, 0, 1000, 800), QRect(1000, 0, 1280, 1024)});
        };
        // Enough of the title strip to take hold of shows, even across two screens.
        for (const auto at : {QPoint(0, 0), QPoint(-300, 100), QPoint(900, 700)}) {
            QCOMPARE(placed(at), at);
        }
        // A third monitor to the right was unplugged.
        QCOMPARE(placed(QPoint(2500, 200)), QPoint(1938, 200));
        QCOMPARE(placed(QPoint(-2000, -900)), QPoint(0, 0));
        // Only the title strip's top pixels or a sliver of it show.
        QCOMPARE(placed(QPoint(100, 790)), QPoint(100, 341));
        QCOMPARE(placed(QPoint(-330, 100)), QPoint(0, 100));
    }
};

PAGEWING_QTEST_MAIN(ScreenPlacementTest)
#include "ScreenPlacementTest.moc"
