#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

#include "support/QtTestEnvironment.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pagewing;

namespace {

void Store(const QString& text) {
    QFile file(RegisteryLoadSave::StoreFileName());
    QDir().mkpath(QFileInfo(file).absolutePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text));
    file.write("[Settings]\n" + text.toUtf8() + '\n');
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

    void storedTextsAreRead() {
        // "True" or "False" in any letter case, or a number, 0 for false; a fraction rounds halves to even.
        // What cannot be read keeps the default (True, 0), as does a number too large.
        const struct {
            QString Stored;
            bool TopMost;
            int SaveLeft;
        } cases[] = {{"TopMost=FALSE\nSaveLeft=-45", false, -45},
                     {"TopMost=-1\nSaveLeft=2.5", true, 2},
                     {"TopMost=0\nSaveLeft=3.5", false, 4},
                     {"TopMost=maybe\nSaveLeft=left", true, 0},
                     {"SaveLeft=1e12", true, 0}};
        for (const auto& [stored, topMost, saveLeft] : cases) {
            GlobalSettings = {};
            Store(stored);
            RegisteryLoadSave::LoadWindowSettings();
            QVERIFY2(GlobalSettings.TopMost == topMost && GlobalSettings.SaveLeft == saveLeft,
                     qPrintable(stored));
        }
    }

    void eachGroupIsSavedWholeAndReadBack() {
        // A list as written by hand, without the quotes QSettings adds, is still one text.
        Store(QStringLiteral("TelephoneList=0123,4567"));
        RegisteryLoadSave::LoadTelephoneList();
        QVERIFY(GlobalSettings.TelephoneList == u"0123,4567");
        GlobalSettings.SaveLeft = -30;
        GlobalSettings.Showing = true;
        RegisteryLoadSave::SaveWindowSettings();
        // Booleans as the words "True" and "False", which a bool would not give.
        const QSettings file(RegisteryLoadSave::StoreFileName(), QSettings::IniFormat);
        QCOMPARE(file.value(QStringLiteral("Settings/TopMost")), QStringLiteral("False"));
        QCOMPARE(file.value(QStringLiteral("Settings/Showing")), QStringLiteral("True"));
        QVERIFY(!file.contains(QStringLiteral("Settings/ICQUIN")));

        GlobalSettings.ICQPassword = u"p,a ss=wörd";
        GlobalSettings.TelephoneList = u"0123,4567,Ann 89";
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        RegisteryLoadSave::SaveTelephoneList();
        GlobalSettings = {};
        RegisteryLoadSave::LoadLoginSettings();
        RegisteryLoadSave::LoadTelephoneList();
        RegisteryLoadSave::LoadWindowSettings();
        QVERIFY(GlobalSettings.ICQPassword == u"p,a ss=wörd" &&
                GlobalSettings.TelephoneList == u"0123,4567,Ann 89");
        QCOMPARE(GlobalSettings.SaveLeft, -30);
        // A password command is written only where one is set.
        QVERIFY(!QSettings(RegisteryLoadSave::StoreFileName(), QSettings::IniFormat)
                     .contains(QStringLiteral("Settings/PasswordCommand")));
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

    void anotherStoreFileIsReadButNeverWritten() {
        // A script's file given with --settings, as its owner wrote it by hand: a password command with
        // ";", "#" and "," kept whole, where QSettings would cut or split it.
        const QTemporaryDir root;
        const auto fileName = root.filePath(QStringLiteral("alerts.ini"));
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\nICQUIN=4242\nPasswordCommand=pass show icq; echo '#1,2' \\\n");
        file.close();
        QFile::setPermissions(fileName, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        RegisteryLoadSave::UseStoreFile(fileName);
        RegisteryLoadSave::LoadLoginSettings();
        QVERIFY(GlobalSettings.PasswordCommand == u"pass show icq; echo '#1,2' \\" &&
                GlobalSettings.ICQUIN == u"4242");
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        RegisteryLoadSave::SaveTelephoneList();
        RegisteryLoadSave::SaveWindowSettings();
        RegisteryLoadSave::UseStoreFile({});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("[Settings]\nICQUIN=4242\nPasswordCommand=pass show icq; echo '#1,2' \\\n"));
        QCOMPARE(Mode(fileName), 0604u);

        // The program's own file keeps such a command whole through its saves.
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        GlobalSettings = {};
        RegisteryLoadSave::LoadLoginSettings();
        QVERIFY(GlobalSettings.PasswordCommand == u"pass show icq; echo '#1,2' \\");
    }
};

PAGEWING_QTEST_MAIN(RegisteryLoadSaveTest)
#include "RegisteryLoadSaveTest.moc"
