#include "platform/SingleCopy.h"

#include "support/QtTestEnvironment.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace pagewing;

class SingleCopyTest : public QObject {
    Q_OBJECT

private slots:
    void secondCopyIsRefusedAndAsksTheFirstToShow() {
        SingleCopy first;
        QVERIFY(first.TryAcquire());
        first.Listen();
        QSignalSpy shown(&first, &SingleCopy::ShowRequested);
        SingleCopy second;
        QVERIFY(!second.TryAcquire());
        second.AskRunningCopyToShow({});
        second.AskRunningCopyToShow(QStringLiteral("token-1"));
        QTRY_COMPARE(shown.count(), 2);
        QCOMPARE(shown.at(0).at(0).toString(), QString());
        QCOMPARE(shown.at(1).at(0).toString(), QStringLiteral("token-1"));
    }

    void runningProgramHoldsTheLockUntilItDies() {
        QProcess program;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PAGEWING_EXECUTABLE), {});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(SingleCopy::LockFileName()), 10000);

        SingleCopy mine;
        QVERIFY(!mine.TryAcquire());
        // A copy that crashed leaves its lock file behind, but not held.
        program.kill();
        QVERIFY(program.waitForFinished());
        QVERIFY(QFile::exists(SingleCopy::LockFileName()));
        QVERIFY(mine.TryAcquire());
    }
};

PAGEWING_QTEST_MAIN(SingleCopyTest)
#include "SingleCopyTest.moc"
