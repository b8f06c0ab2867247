#include "platform/SingleCopy.h"
#include "platform/RuntimeFolder.h"

#include "support/QtTestEnvironment.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace pagewing;

class SingleCopyTest : public QObject {
    Q_OBJECT

private slots:
    void secondCopyIsRefusedAndAsksTheFirstToShow() {
        SingleCopy first;
        QVERIFY(first.TryAcquire());
        QSignalSpy shown(&first, &SingleCopy::ShowRequested);
        SingleCopy second;
        QVERIFY(!second.TryAcquire());
        QVERIFY(!second.AskRunningCopyToShow({}));
        first.Listen();
        QVERIFY(second.AskRunningCopyToShow({}));
        QVERIFY(second.AskRunningCopyToShow(QStringLiteral("token-1")));
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

    void withoutARuntimeFolderTheSessionsOrQtsOwnIsSettledOnQuietly() {
        const auto runtime = qgetenv("XDG_RUNTIME_DIR");
        const QTemporaryDir temporary;
        qputenv("TMPDIR", QFile::encodeName(temporary.path()));
        qunsetenv("XDG_RUNTIME_DIR");
        // Where a window started without the variable listens, as cron and ssh start one: Qt's own choice,
        // here left open to others by some earlier program.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("XDG_RUNTIME_DIR not set")));
        const auto qtsOwn = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        QVERIFY(
            QFile::setPermissions(qtsOwn, QFile::permissions(qtsOwn) | QFile::ReadOther | QFile::ExeOther));

        RuntimeFolder::Settle();
        const QFileInfo session(QStringLiteral("/run/user/%1").arg(::getuid()));
        const auto settled = qEnvironmentVariable("XDG_RUNTIME_DIR");
        QCOMPARE(settled, session.isDir() ? session.filePath() : qtsOwn);
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), settled);
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
};

PAGEWING_QTEST_MAIN(SingleCopyTest)
#include "SingleCopyTest.moc"
