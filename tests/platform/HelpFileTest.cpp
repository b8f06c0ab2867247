#include "platform/HelpFile.h"

#include "support/QtTestEnvironment.h"

#include <QStandardPaths>
#include <QTest>

using namespace pagewing;

namespace {

const QString Page = QStringLiteral("HelpFileTestPage.html");

// Where the page is looked for, the last choice first: the installed data folder, the data folder of an
// installed tree beside the program's, and the program's own folder.
QStringList FoldersLastChoiceFirst() {
    const QDir program(QCoreApplication::applicationDirPath());
    return {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                QStringLiteral("/pagewing"),
            program.filePath(QStringLiteral("../share/pagewing")), program.path()};
}

} // namespace

class HelpFileTest : public QObject {
    Q_OBJECT

private slots:
    void nearestPageIsChosen() {
        QVERIFY(HelpFile::Locate(Page).isEmpty());
        for (const auto& folder : FoldersLastChoiceFirst()) {
            QVERIFY(QDir().mkpath(folder));
            QFile page(folder + u'/' + Page);
            QVERIFY(page.open(QIODevice::WriteOnly));
            QCOMPARE(QFileInfo(HelpFile::Locate(Page)).canonicalFilePath(),
                     QFileInfo(page).canonicalFilePath());
        }
    }

    // The pages beside the program stay out of the build tree's way.
    void cleanup() {
        for (const auto& folder : FoldersLastChoiceFirst()) {
            QFile::remove(folder + u'/' + Page);
            QDir().rmpath(folder);
        }
    }
};

PAGEWING_QTEST_MAIN(HelpFileTest)
#include "HelpFileTest.moc"
