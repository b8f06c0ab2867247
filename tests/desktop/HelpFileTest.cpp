#include "desktop/HelpFile.h"
#include "desktop/DesktopIntegration.h"

#include "support/QtTestEnvironment.h"

#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace pagewing;

class HelpFileTest : public QObject {
    Q_OBJECT

private slots:
    void nearestPageIsChosen() {
        QVERIFY(HelpFile::Locate(Page).isEmpty());
        // Each folder in turn wins over those before: the installed data folder, that of an installed tree
        // beside the program, the program's own.
        for (const auto& folder : Folders) {
            QVERIFY(QDir().mkpath(folder));
            QFile page(folder + u'/' + Page);
            QVERIFY(page.open(QIODevice::WriteOnly));
            QCOMPARE(QFileInfo(HelpFile::Locate(Page)).canonicalFilePath(),
                     QFileInfo(page).canonicalFilePath());
        }
    }

    void missingPageGivesALine() {
        DesktopIntegration desktop;
        QSignalSpy failed(&desktop, &DesktopIntegration::OpenFailed);
        desktop.OpenHelp(Page);
        QCOMPARE(failed.value(0).value(0).toString(),
                 QStringLiteral("The help page HelpFileTestPage.html is not installed"));
    }

    // The pages beside the program stay out of the build tree's way.
    void cleanup() {
        for (const auto& folder : Folders) {
            QFile::remove(folder + u'/' + Page);
            QDir().rmpath(folder);
        }
    }

private:
    const QString Page = QStringLiteral("HelpFileTestPage.html");
    const QStringList Folders{QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                                  QStringLiteral("/pagewing"),
                              QCoreApplication::applicationDirPath() + QStringLiteral("/../share/pagewing"),
                              QCoreApplication::applicationDirPath()};
};

PAGEWING_QTEST_MAIN(HelpFileTest)
#include "HelpFileTest.moc"
