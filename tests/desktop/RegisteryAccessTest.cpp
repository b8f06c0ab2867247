#include "desktop/RegisteryAccess.h"

#include "support/QtTestEnvironment.h"

#include <QCoreApplication>
#include <QTest>

using namespace pagewing;

namespace {

// Read from the file each time: QSettings would serve a cached copy of a file rewritten within the second.
QStringList EntryLines() {
    QFile file(RegisteryAccess::AutostartEntryFileName());
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll()).split(u'\n');
}

} // namespace

class RegisteryAccessTest : public QObject {
    Q_OBJECT

private slots:
    void entryIsTheProgramsOwnDesktopEntryRunningThisExecutable() {
        QFile installed(QStringLiteral(":/desktop/com.lumenfold.Pagewing.desktop"));
        QVERIFY(installed.open(QIODevice::ReadOnly | QIODevice::Text));
        const auto own = QString::fromUtf8(installed.readAll()).split(u'\n', Qt::SkipEmptyParts);
        // Off leaves a hidden entry behind, which overrides one the system may have; on again shows it.
        for (const bool on : {true, false, true}) {
            QVERIFY(RegisteryAccess::WriteRunEntry(on));
            const auto lines = EntryLines();
            QVERIFY(lines.contains(on ? QStringLiteral("Hidden=false") : QStringLiteral("Hidden=true")));
            QVERIFY(
                lines.contains(QStringLiteral("Exec=\"%1\"").arg(QCoreApplication::applicationFilePath())));
            for (const auto& line : own) {
                // Run by its path, whatever PATH holds.
                const bool replaced = line.startsWith(u"Exec=") || line.startsWith(u"TryExec=");
                QVERIFY2(lines.contains(line) != replaced, qPrintable(line));
            }
        }
        QVERIFY(RegisteryAccess::WriteAutostartEntry(true, QStringLiteral("/home/ann/new place/pagewing")));
        QVERIFY(EntryLines().contains(QStringLiteral("Exec=\"/home/ann/new place/pagewing\"")));
    }

    void execPathIsQuotedAsDesktopEntriesRequire() {
        // Expected values as they stand in the file: a space, a dollar and a backtick, a double quote, a
        // backslash, a percent sign.
        const std::pair<const char*, const char*> cases[] = {{"/a b/p", "\"/a b/p\""},
                                                             {"/a$b`c/p", "\"/a\\\\$b\\\\`c/p\""},
                                                             {"/a\"b/p", "\"/a\\\\\"b/p\""},
                                                             {"/a\\b/p", "\"/a\\\\\\\\b/p\""},
                                                             {"/100%/p", "\"/100%%/p\""}};
        for (const auto& [path, exec] : cases) {
            QCOMPARE(RegisteryAccess::QuotedExecPath(QLatin1String(path)), QLatin1String(exec));
        }
    }
};

PAGEWING_QTEST_MAIN(RegisteryAccessTest)
#include "RegisteryAccessTest.moc"
