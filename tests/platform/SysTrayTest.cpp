#include "platform/SysTray.h"

#include "support/QtTestEnvironment.h"

#include <QSignalSpy>
#include <QTest>

#include <array>

using namespace pagewing;

namespace {

// The six events in their order; a spy per event.
struct Spies {
    explicit Spies(SysTray& tray)
        : All{QSignalSpy(&tray, &SysTray::MouseLeftButtonDown),
              QSignalSpy(&tray, &SysTray::MouseLeftButtonUp),
              QSignalSpy(&tray, &SysTray::MouseLeftButtonDblClick),
              QSignalSpy(&tray, &SysTray::MouseRightButtonDown),
              QSignalSpy(&tray, &SysTray::MouseRightButtonUp),
              QSignalSpy(&tray, &SysTray::MouseRightButtonDblClick)} {}

    QList<int> Counts() const {
        QList<int> counts;
        for (const auto& spy : All) {
            counts.append(static_cast<int>(spy.count()));
        }
        return counts;
    }

    std::array<QSignalSpy, 6> All;
};

} // namespace

class SysTrayTest : public QObject {
    Q_OBJECT

private slots:
    void messagesSelectTheirEvent_data() {
        QTest::addColumn<float>("message");
        QTest::addColumn<QList<int>>("counts");
        QTest::newRow("513") << 513.0f << QList<int>{1, 0, 0, 0, 0, 0};
        QTest::newRow("514") << 514.0f << QList<int>{0, 1, 0, 0, 0, 0};
        QTest::newRow("515") << 515.0f << QList<int>{0, 0, 1, 0, 0, 0};
        QTest::newRow("516") << 516.0f << QList<int>{0, 0, 0, 1, 0, 0};
        QTest::newRow("517") << 517.0f << QList<int>{0, 0, 0, 0, 1, 0};
        QTest::newRow("518") << 518.0f << QList<int>{0, 0, 0, 0, 0, 1};
        QTest::newRow("512, a plain move") << 512.0f << QList<int>{0, 0, 0, 0, 0, 0};
        QTest::newRow("513.5") << 513.5f << QList<int>{0, 0, 0, 0, 0, 0};
        QTest::newRow("519") << 519.0f << QList<int>{0, 0, 0, 0, 0, 0};
        QTest::newRow("zero") << 0.0f << QList<int>{0, 0, 0, 0, 0, 0};
        QTest::newRow("negative") << -513.0f << QList<int>{0, 0, 0, 0, 0, 0};
    }

    void messagesSelectTheirEvent() {
        QFETCH(float, message);
        QFETCH(QList<int>, counts);
        SysTray tray;
        const Spies spies(tray);
        tray.InterpretMouseCommand(message);
        QCOMPARE(spies.Counts(), counts);
    }

    void activationReasonsBecomeMouseMessages() {
        SysTray tray;
        const Spies spies(tray);
        emit tray.Icon().activated(QSystemTrayIcon::Trigger);
        QCOMPARE(spies.Counts(), (QList<int>{1, 1, 0, 0, 0, 0}));
        emit tray.Icon().activated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(spies.Counts(), (QList<int>{1, 1, 1, 0, 0, 0}));
        emit tray.Icon().activated(QSystemTrayIcon::Context);
        QCOMPARE(spies.Counts(), (QList<int>{1, 1, 1, 1, 1, 0}));
        emit tray.Icon().activated(QSystemTrayIcon::MiddleClick);
        emit tray.Icon().activated(QSystemTrayIcon::Unknown);
        QCOMPARE(spies.Counts(), (QList<int>{1, 1, 1, 1, 1, 0}));
    }
};

PAGEWING_QTEST_MAIN(SysTrayTest)
#include "SysTrayTest.moc"
