// The password in the desktop's keyring: run on a private session bus with GNOME Keyring (see
// run-with-keyring.sh), against the simulator for the login that reads it back.

#include "platform/AccountSettings.h"
#include "platform/DesktopIntegration.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

#include "support/FakeDesktopIntegration.h"
#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"

#include <QProcess>
#include <QSettings>
#include <QTest>

using namespace pagewing;

namespace {

constexpr auto Password = "kept-secret";

QString StoredPassword() {
    return QSettings(RegisteryLoadSave::StoreFileName(), QSettings::IniFormat)
        .value(QStringLiteral("Settings/ICQPassword"), QStringLiteral("<absent>"))
        .toString();
}

// Runs an account operation to its end and gives its note.
QString Finish(const std::function<void(std::function<void(const QString&)>)>& operation) {
    std::optional<QString> note;
    operation([&note](const QString& text) { note = text; });
    for (int waited = 0; !note && waited < 10000; waited += 10) {
        QTest::qWait(10);
    }
    return note.value_or(QStringLiteral("<no answer>"));
}

void EnterAccount(const QString& port) {
    GlobalSettings.LoginURL = u"127.0.0.1";
    GlobalSettings.LoginPort = port.toStdU16String();
    GlobalSettings.ICQUIN = u"100200300";
    GlobalSettings.ICQPassword = QString::fromLatin1(Password).toStdU16String();
}

} // namespace

class KeyringTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        test::ForgetStoredSettings();
        GlobalSettings = {};
    }

    void passwordGoesToTheKeyringAndALaterLoginReadsItBack() {
        test::GatewaySimProcess simulator(
            {QStringLiteral("--account"), QStringLiteral("100200300:") + Password});
        QVERIFY(simulator.WaitUntilListening());
        EnterAccount(simulator.Port);
        DesktopIntegration desktop;
        QCOMPARE(Finish([&](auto done) { AccountSettings::Save(desktop, done); }), QString());
        QCOMPARE(StoredPassword(), QStringLiteral("<absent>"));

        // A later start: the command line logs in with nothing but the file and the keyring.
        QProcess command;
        command.start(QStringLiteral(PAGEWING_EXECUTABLE),
                      {QStringLiteral("--settings"), RegisteryLoadSave::StoreFileName(),
                       QStringLiteral("--send"), QStringLiteral("+15551234567"), QStringLiteral("Hi")});
        QVERIFY(command.waitForFinished(20000));
        QCOMPARE(command.exitCode(), 0);
        QVERIFY(!command.readAll().contains(Password));
    }

    void passwordInTheFileMovesToTheKeyring() {
        EnterAccount(QStringLiteral("5190"));
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        GlobalSettings = {};
        DesktopIntegration desktop;
        QCOMPARE(Finish([&](auto done) { AccountSettings::Load(desktop, done); }), QString());
        QVERIFY(GlobalSettings.ICQPassword == QString::fromLatin1(Password).toStdU16String());
        QCOMPARE(StoredPassword(), QStringLiteral("<absent>"));
        QFile file(RegisteryLoadSave::StoreFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains(Password));

        GlobalSettings = {};
        QCOMPARE(Finish([&](auto done) { AccountSettings::Load(desktop, done); }), QString());
        QVERIFY(GlobalSettings.ICQPassword == QString::fromLatin1(Password).toStdU16String());
    }

    void withoutAKeyringThePasswordStaysInTheFile() {
        const auto bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        EnterAccount(QStringLiteral("5190"));
        DesktopIntegration desktop;
        const auto note = Finish([&](auto done) { AccountSettings::Save(desktop, done); });
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
        QCOMPARE(note, QStringLiteral("Password kept in the settings file: no keyring is available"));
        QCOMPARE(StoredPassword(), QLatin1String(Password));
    }

    void failedKeyringWriteLeavesTheFileAsItWas() {
        EnterAccount(QStringLiteral("5190"));
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        QFile file(RegisteryLoadSave::StoreFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto before = file.readAll();
        test::FakeDesktopIntegration refusing;
        refusing.KeyringAvailable = false;
        GlobalSettings = {};
        QCOMPARE(Finish([&](auto done) { AccountSettings::Load(refusing, done); }),
                 QStringLiteral("Password kept in the settings file: no keyring is available"));
        QVERIFY(GlobalSettings.ICQPassword == QString::fromLatin1(Password).toStdU16String());
        file.seek(0);
        QCOMPARE(file.readAll(), before);
    }
};

PAGEWING_QTEST_MAIN(KeyringTest)
#include "KeyringTest.moc"
