#include "platform/RuntimeFolder.h"

#include "support/QtTestEnvironment.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace pagewing;

class RuntimeFolderTest : public QObject {
    Q_OBJECT

private slots:
    void withoutOneTheSessionFolderOrQtsOwnChoiceIsSettledOnQuietly() {
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

        // One that is set is left as it is.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(temporary.path()));
        RuntimeFolder::Settle();
        QCOMPARE(qEnvironmentVariable("XDG_RUNTIME_DIR"), temporary.path());
    }
};

PAGEWING_QTEST_MAIN(RuntimeFolderTest)
#include "RuntimeFolderTest.moc"
