#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

#include "support/QtTestEnvironment.h"

#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include <sys/stat.h>

using namespace pagewing;

namespace {

QSettings StoredFile() {
    return QSettings(RegisteryLoadSave::StoreFileName(), QSettings::IniFormat);
}

unsigned Mode(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 0777u : 0u;
}

void Store(const QString& key, const QString& value) {
    QFile file(RegisteryLoadSave::StoreFileName());
    QDir().mkpath(QFileInfo(file).absolutePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
    file.write(QStringLiteral("[Settings]\n%1=%2\n").arg(key, value).toUtf8());
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
        QCOMPARE(GlobalSettings.SaveLeft, 0);
        QCOMPARE(GlobalSettings.SaveTop, 0);
        QVERIFY(GlobalSettings.TopMost);
        QVERIFY(!GlobalSettings.StartUp);
        QVERIFY(GlobalSettings.Showing);
        QCOMPARE(GlobalSettings.ShowHelp, 1);
        QVERIFY(GlobalSettings.LoginURL == u"login.icq.com");
        QVERIFY(GlobalSettings.LoginPort == u"5190");
        QVERIFY(GlobalSettings.ICQUIN.empty());
        QVERIFY(GlobalSettings.ICQPassword.empty());
        QVERIFY(GlobalSettings.TelephoneList.empty());
        QVERIFY(!QFile::exists(RegisteryLoadSave::StoreFileName()));
    }

    void booleanTexts_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("expected");
        QTest::newRow("lower-case false") << "false" << false;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("upper-case TRUE") << "TRUE" << true;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("minus one") << "-1" << true;
        QTest::newRow("seven") << "7" << true;
        QTest::newRow("unreadable keeps the default") << "maybe" << true;
    }

    void booleanTexts() {
        QFETCH(QString, stored);
        QFETCH(bool, expected);
        Store(QStringLiteral("TopMost"), stored);
        RegisteryLoadSave::LoadWindowSettings();
        QCOMPARE(GlobalSettings.TopMost, expected);
    }

    void integerTexts_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << "1500" << 1500;
        QTest::newRow("negative") << "-45" << -45;
        QTest::newRow("half rounds to even, down") << "2.5" << 2;
        QTest::newRow("half rounds to even, up") << "3.5" << 4;
        QTest::newRow("fraction") << "7.6" << 8;
        QTest::newRow("letters keep the default") << "left" << 0;
        QTest::newRow("too large keeps the default") << "1e12" << 0;
    }

    void integerTexts() {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        Store(QStringLiteral("SaveLeft"), stored);
        RegisteryLoadSave::LoadWindowSettings();
        QCOMPARE(GlobalSettings.SaveLeft, expected);
    }

    void everySaveWritesItsWholeGroup() {
        GlobalSettings.SaveLeft = -30;
        GlobalSettings.SaveTop = 4500;
        GlobalSettings.TopMost = false;
        GlobalSettings.Showing = true;
        GlobalSettings.ShowHelp = 0;
        RegisteryLoadSave::SaveWindowSettings();
        auto file = StoredFile();
        QCOMPARE(file.value(QStringLiteral("Settings/SaveLeft")).toString(), QStringLiteral("-30"));
        QCOMPARE(file.value(QStringLiteral("Settings/SaveTop")).toString(), QStringLiteral("4500"));
        QCOMPARE(file.value(QStringLiteral("Settings/TopMost")).toString(), QStringLiteral("False"));
        QCOMPARE(file.value(QStringLiteral("Settings/StartUp")).toString(), QStringLiteral("False"));
        QCOMPARE(file.value(QStringLiteral("Settings/Showing")).toString(), QStringLiteral("True"));
        QCOMPARE(file.value(QStringLiteral("Settings/ShowHelp")).toString(), QStringLiteral("0"));
        QVERIFY(!file.contains(QStringLiteral("Settings/ICQUIN")));

        GlobalSettings.LoginURL = u"127.0.0.1";
        GlobalSettings.LoginPort = u"5190";
        GlobalSettings.ICQUIN = u"100200300";
        GlobalSettings.ICQPassword = u"p,a ss=wörd";
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        GlobalSettings = {};
        RegisteryLoadSave::LoadLoginSettings();
        RegisteryLoadSave::LoadWindowSettings();
        QVERIFY(GlobalSettings.ICQPassword == u"p,a ss=wörd");
        QVERIFY(GlobalSettings.LoginURL == u"127.0.0.1");
        QCOMPARE(GlobalSettings.SaveTop, 4500);
    }

    void telephoneListKeepsItsCommas() {
        Store(QStringLiteral("TelephoneList"), QStringLiteral("0123,4567"));
        RegisteryLoadSave::LoadTelephoneList();
        QVERIFY(GlobalSettings.TelephoneList == u"0123,4567");
        GlobalSettings.TelephoneList = u"0123,4567,Ann 89";
        RegisteryLoadSave::SaveTelephoneList();
        GlobalSettings.TelephoneList.clear();
        RegisteryLoadSave::LoadTelephoneList();
        QVERIFY(GlobalSettings.TelephoneList == u"0123,4567,Ann 89");
    }

    void storeIsReadableByItsOwnerOnlyWhateverTheUmask() {
        const auto previous = umask(0);
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        const auto fileName = RegisteryLoadSave::StoreFileName();
        const auto folder = QFileInfo(fileName).absolutePath();
        QCOMPARE(Mode(fileName), 0600u);
        QCOMPARE(Mode(folder), 0700u);

        QFile::setPermissions(fileName, QFile::permissions(fileName) | QFile::ReadOther | QFile::ReadGroup);
        QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ExeOther | QFile::ReadOther);
        RegisteryLoadSave::SaveWindowSettings();
        QCOMPARE(Mode(fileName), 0600u);
        QCOMPARE(Mode(folder), 0700u);
        umask(previous);
    }
};

PAGEWING_QTEST_MAIN(RegisteryLoadSaveTest)
#include "RegisteryLoadSaveTest.moc"
