#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

#include "support/QtTestEnvironment.h"

#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include <sys/stat.h>

using namespace pagewing;

namespace {

QString Stored(const QString& key) {
    return QSettings(RegisteryLoadSave::StoreFileName(), QSettings::IniFormat)
        .value(QStringLiteral("Settings/") + key, QStringLiteral("<absent>"))
        .toString();
}

void Store(const QString& key, const QString& value) {
    QFile file(RegisteryLoadSave::StoreFileName());
    QDir().mkpath(QFileInfo(file).absolutePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
    file.write(QStringLiteral("[Settings]\n%1=%2\n").arg(key, value).toUtf8());
}

unsigned Mode(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 0777u : 0u;
}

} // namespace

class RegisteryLoadSaveTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        test::ForgetStoredSettings();
        GlobalSettings = {};
    }

    void emptyStoreGivesTheDefaults() {
        RegisteryLoadSave::LoadWindowSettings();
        RegisteryLoadSave::LoadLoginSettings();
        RegisteryLoadSave::LoadTelephoneList();
        const auto& s = GlobalSettings;
        QVERIFY(s.SaveLeft == 0 && s.SaveTop == 0 && s.TopMost && !s.StartUp && s.Showing && s.ShowHelp == 1);
        QVERIFY(s.LoginURL == u"login.icq.com" && s.LoginPort == u"5190" && s.ICQUIN.empty());
        QVERIFY(s.ICQPassword.empty() && s.TelephoneList.empty());
        QVERIFY(!QFile::exists(RegisteryLoadSave::StoreFileName()));
    }

    void storedTextsAreRead_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("read");
        // A Boolean is "True" or "False" in any letter case, or a number, 0 for false; an integer's fraction
        // rounds halves to even. What cannot be read keeps the default.
        QTest::newRow("false") << "TopMost"
                               << "false" << 0;
        QTest::newRow("TRUE") << "TopMost"
                              << "TRUE" << 1;
        QTest::newRow("zero") << "TopMost"
                              << "0" << 0;
        QTest::newRow("minus one") << "TopMost"
                                   << "-1" << 1;
        QTest::newRow("unreadable Boolean") << "TopMost"
                                            << "maybe" << 1;
        QTest::newRow("negative") << "SaveLeft"
                                  << "-45" << -45;
        QTest::newRow("half down to even") << "SaveLeft"
                                           << "2.5" << 2;
        QTest::newRow("half up to even") << "SaveLeft"
                                         << "3.5" << 4;
        QTest::newRow("fraction") << "SaveLeft"
                                  << "7.6" << 8;
        QTest::newRow("letters") << "SaveLeft"
                                 << "left" << 0;
        QTest::newRow("too large") << "SaveLeft"
                                   << "1e12" << 0;
    }

    void storedTextsAreRead() {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(int, read);
        Store(key, stored);
        RegisteryLoadSave::LoadWindowSettings();
        QCOMPARE(key == u"TopMost" ? int{GlobalSettings.TopMost} : GlobalSettings.SaveLeft, read);
    }

    void eachGroupIsSavedWholeAndReadBack() {
        GlobalSettings.SaveLeft = -30;
        GlobalSettings.Showing = true;
        RegisteryLoadSave::SaveWindowSettings();
        // Booleans as the words "True" and "False", which a bool would not give.
        QCOMPARE(Stored(QStringLiteral("SaveLeft")), QStringLiteral("-30"));
        QCOMPARE(Stored(QStringLiteral("TopMost")), QStringLiteral("False"));
        QCOMPARE(Stored(QStringLiteral("Showing")), QStringLiteral("True"));
        QCOMPARE(Stored(QStringLiteral("ICQUIN")), QStringLiteral("<absent>"));

        GlobalSettings.ICQPassword = u"p,a ss=wörd";
        GlobalSettings.TelephoneList = u"0123,4567,Ann 89";
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        RegisteryLoadSave::SaveTelephoneList();
        GlobalSettings = {};
        RegisteryLoadSave::LoadLoginSettings();
        RegisteryLoadSave::LoadTelephoneList();
        RegisteryLoadSave::LoadWindowSettings();
        QVERIFY(GlobalSettings.ICQPassword == u"p,a ss=wörd");
        QVERIFY(GlobalSettings.TelephoneList == u"0123,4567,Ann 89");
        QCOMPARE(GlobalSettings.SaveLeft, -30);
    }

    void listWrittenByHandKeepsItsCommas() {
        Store(QStringLiteral("TelephoneList"), QStringLiteral("0123,4567"));
        RegisteryLoadSave::LoadTelephoneList();
        QVERIFY(GlobalSettings.TelephoneList == u"0123,4567");
    }

    void storeIsReadableByItsOwnerOnlyWhateverTheUmask() {
        const auto previous = umask(0);
        const auto fileName = RegisteryLoadSave::StoreFileName();
        const auto folder = QFileInfo(fileName).absolutePath();
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        QVERIFY(Mode(fileName) == 0600u && Mode(folder) == 0700u);
        QFile::setPermissions(fileName, QFile::permissions(fileName) | QFile::ReadOther | QFile::ReadGroup);
        QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ExeOther | QFile::ReadOther);
        RegisteryLoadSave::SaveWindowSettings();
        QVERIFY(Mode(fileName) == 0600u && Mode(folder) == 0700u);
        umask(previous);
    }
};

PAGEWING_QTEST_MAIN(RegisteryLoadSaveTest)
#include "RegisteryLoadSaveTest.moc"
