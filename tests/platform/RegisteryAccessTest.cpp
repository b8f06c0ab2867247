#include "platform/RegisteryAccess.h"

#include "support/QtTestEnvironment.h"

#include <QCoreApplication>
#include <QTest>

using namespace pagewing;

namespace {

QString EntryText() {
    QFile file(RegisteryAccess::AutostartEntryFileName());
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// Read from the file each time: QSettings would serve a cached copy of a file rewritten within the second.
QString Key(const QString& key) {
    const auto lines = EntryText().split(u'\n');
    for (const auto& line : lines) {
        if (line.startsWith(key + u'=')) {
            return line.mid(key.size() + 1);
        }
    }
    return {};
}

} // namespace

class RegisteryAccessTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::ForgetStoredSettings(); }

    void entryLivesInTheConfigurationFoldersAutostart() {
        QCOMPARE(RegisteryAccess::AutostartEntryFileName(),
                 qEnvironmentVariable("XDG_CONFIG_HOME") +
                     QStringLiteral("/autostart/lumenfold-pagewing.desktop"));
    }

    void onOffOnAgain() {
        RegisteryAccess::WriteRunEntry(true);
        QCOMPARE(Key(QStringLiteral("Hidden")), QStringLiteral("false"));
        QCOMPARE(Key(QStringLiteral("Type")), QStringLiteral("Application"));
        QVERIFY(
            EntryText().contains(QStringLiteral("Exec=\"") + QCoreApplication::applicationFilePath() + u'"'));

        RegisteryAccess::WriteRunEntry(false);
        QVERIFY(QFile::exists(RegisteryAccess::AutostartEntryFileName()));
        QCOMPARE(Key(QStringLiteral("Hidden")), QStringLiteral("true"));

        RegisteryAccess::WriteRunEntry(true);
        QCOMPARE(Key(QStringLiteral("Hidden")), QStringLiteral("false"));
    }

    void entryIsTheProgramsOwnDesktopEntry() {
        QVERIFY(RegisteryAccess::WriteAutostartEntry(true, QStringLiteral("/usr/bin/pagewing")));
        QFile installed(QStringLiteral(":/platform/com.lumenfold.Pagewing.desktop"));
        QVERIFY(installed.open(QIODevice::ReadOnly | QIODevice::Text));
        for (const auto& line : QString::fromUtf8(installed.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
            // The autostart entry runs this executable, whatever PATH holds.
            const bool replaced = line.startsWith(u"Exec=") || line.startsWith(u"TryExec=");
            QVERIFY2(EntryText().split(u'\n').contains(line) != replaced, qPrintable(line));
        }
    }

    void entryFollowsTheExecutableWhenItMoved() {
        QVERIFY(RegisteryAccess::WriteAutostartEntry(true, QStringLiteral("/opt/old/pagewing")));
        QVERIFY(RegisteryAccess::WriteAutostartEntry(true, QStringLiteral("/home/ann/new place/pagewing")));
        QVERIFY(EntryText().contains(QStringLiteral("Exec=\"/home/ann/new place/pagewing\"\n")));
        QVERIFY(!EntryText().contains(QStringLiteral("/opt/old")));
    }

    void execPathIsQuotedAsDesktopEntriesRequire_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        // Expected values as they stand in the file.
        QTest::newRow("plain") << "/usr/bin/pagewing"
                               << "\"/usr/bin/pagewing\"";
        QTest::newRow("space") << "/a b/pagewing"
                               << "\"/a b/pagewing\"";
        QTest::newRow("dollar and backtick") << "/a$b`c/p"
                                             << "\"/a\\\\$b\\\\`c/p\"";
        QTest::newRow("double quote") << "/a\"b/p"
                                      << "\"/a\\\\\"b/p\"";
        QTest::newRow("backslash") << "/a\\b/p"
                                   << "\"/a\\\\\\\\b/p\"";
        QTest::newRow("percent") << "/100%/p"
                                 << "\"/100%%/p\"";
    }

    void execPathIsQuotedAsDesktopEntriesRequire() {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        QCOMPARE(RegisteryAccess::QuotedExecPath(path), exec);
    }
};

PAGEWING_QTEST_MAIN(RegisteryAccessTest)
#include "RegisteryAccessTest.moc"
