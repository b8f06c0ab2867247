// The password in the desktop's keyring: run on a private session bus with GNOME Keyring (see
// run-with-keyring.sh), against the simulator for the login that reads it back.

#include "platform/AccountSettings.h"
#include "platform/DesktopIntegration.h"
#include "platform/ProductInfo.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QProcess>
#include <QTest>

#include <functional>
#include <optional>

using namespace pagewing;
using Gap = AccountSettings::PasswordGap;

namespace {

QByteArray StoreBytes() {
    QFile file(RegisteryLoadSave::StoreFileName());
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Waits for the answer of a load or a save of the account, once the keyring has given it.
template <typename Answer>
Answer Finish(const std::function<void(DesktopIntegration&, std::function<void(const Answer&)>)>& step) {
    DesktopIntegration desktop;
    std::optional<Answer> answer;
    step(desktop, [&answer](const Answer& given) { answer = given; });
    if (!QTest::qWaitFor([&answer] { return answer.has_value(); }, 10000)) {
        qFatal("The keyring did not answer");
    }
    return *answer;
}

AccountSettings::Loaded Load() {
    return Finish<AccountSettings::Loaded>([](DesktopIntegration& desktop, AccountSettings::Handler done) {
        AccountSettings::Load(desktop, std::move(done));
    });
}

QString Save() {
    return Finish<QString>([](DesktopIntegration& desktop, std::function<void(const QString&)> done) {
        AccountSettings::Save(desktop, std::move(done));
    });
}

// Stores an account in the settings file, with or without its password, then loads it as a start does.
AccountSettings::Loaded LoadAccount(const std::u16string& uin, const std::u16string& password,
                                    const QString& host = QStringLiteral("127.0.0.1"),
                                    const QString& port = QStringLiteral("5190")) {
    test::SeedAccount(host, port);
    GlobalSettings.ICQUIN = uin;
    GlobalSettings.ICQPassword = password;
    RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
    GlobalSettings = {};
    return Load();
}

AccountSettings::Loaded WithoutSessionBus(const std::function<AccountSettings::Loaded()>& step) {
    const auto bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    const auto loaded = step();
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
    return loaded;
}

// `pagewing --send` with the stored settings, on a bus of its own that no keyring service is on.
QString SendOnABusWithoutServices(int& exitCode) {
    QProcess command;
    command.setProcessChannelMode(QProcess::MergedChannels);
    command.start(QStringLiteral("dbus-run-session"),
                  {QStringLiteral("--config-file"), QStringLiteral(PAGEWING_BUS_WITHOUT_SERVICES),
                   QStringLiteral("--"), QStringLiteral(PAGEWING_EXECUTABLE), QStringLiteral("--settings"),
                   RegisteryLoadSave::StoreFileName(), QStringLiteral("--send"),
                   QStringLiteral("+15551234567"), QStringLiteral("Hi")});
    command.waitForFinished(20000);
    exitCode = command.exitCode();
    return QString::fromUtf8(command.readAll());
}

} // namespace

class KeyringTest : public QObject {
    Q_OBJECT

private slots:
    void passwordMovesToTheKeyringAndALaterStartReadsItBack() {
        test::GatewaySimProcess simulator;
        QVERIFY(simulator.WaitUntilListening());
        QCOMPARE(LoadAccount(u"100200300", u"pagewing", simulator.Host, simulator.Port).Note, QString());
        QVERIFY(GlobalSettings.ICQPassword == u"pagewing");
        QVERIFY(!StoreBytes().contains("ICQPassword"));

        // The command line logs in with nothing but the file and the keyring.
        QProcess command;
        command.start(QStringLiteral(PAGEWING_EXECUTABLE),
                      {QStringLiteral("--settings"), RegisteryLoadSave::StoreFileName(),
                       QStringLiteral("--send"), QStringLiteral("+15551234567"), QStringLiteral("Hi")});
        QVERIFY(command.waitForFinished(20000));
        QCOMPARE(command.exitCode(), 0);
        QVERIFY(!command.readAll().contains("pagewing"));

        // A new password from the options goes to the keyring alone, where the next start finds it.
        GlobalSettings.ICQPassword = u"n3w-Pw";
        QCOMPARE(Save(), QString());
        QVERIFY(!StoreBytes().contains("ICQPassword"));
        GlobalSettings = {};
        QCOMPARE(Load().Note, QString());
        QVERIFY(GlobalSettings.ICQPassword == u"n3w-Pw");
    }

    void eachKeyringThatCannotHelpHasItsOwnNote() {
        // No session bus: a password in the file stays there; one only in the keyring is out of reach.
        auto loaded = WithoutSessionBus([] { return LoadAccount(u"100200300", u"pagewing"); });
        QCOMPARE(
            loaded.Note,
            QStringLiteral("Password kept in the settings file: no keyring is available (no session bus)"));
        QVERIFY(GlobalSettings.ICQPassword == u"pagewing" && StoreBytes().contains("ICQPassword=pagewing"));
        loaded = WithoutSessionBus([] { return LoadAccount(u"100200300", u""); });
        QCOMPARE(loaded.Gap, Gap::NoSessionBus);
        QCOMPARE(loaded.Reason,
                 QStringLiteral("the desktop's keyring cannot be reached from here (no session bus)"));
        QCOMPARE(loaded.Note, QStringLiteral("No password: ") + loaded.Reason +
                                  QStringLiteral("; enter it under User and Server Information, or give a "
                                                 "password command"));

        // The keyring answers, and knows no password for this ICQ number.
        loaded = LoadAccount(u"4242", u"");
        QCOMPARE(loaded.Gap, Gap::NoKeyringEntry);
        QCOMPARE(loaded.Note,
                 QStringLiteral("No password: the desktop's keyring holds no password for ICQ number "
                                "4242; enter it under User and Server Information"));

        // A session bus with no keyring service on it.
        int exitCode = -1;
        const auto output = SendOnABusWithoutServices(exitCode);
        QCOMPARE(exitCode, 2);
        QVERIFY2(output.contains(
                     u"the desktop's keyring cannot be reached (no keyring service on the session bus)"),
                 qPrintable(output));
    }

    // Last: the keyring stays locked, as no one can type its password here.
    void aLockedKeyringIsToldApartFromAMissingEntry() {
        QCOMPARE(LoadAccount(u"100200300", u"pagewing").Note, QString());
        auto lock = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets"),
            QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("Lock"));
        lock << QVariant::fromValue(QList<QDBusObjectPath>{
            QDBusObjectPath(QStringLiteral("/org/freedesktop/secrets/collection/login"))});
        QCOMPARE(QDBusConnection::sessionBus().call(lock).type(), QDBusMessage::ReplyMessage);

        // The keyring cannot ask for its password without a display, and QtKeychain then reports no entry.
        const auto loaded = LoadAccount(u"100200300", u"");
        QCOMPARE(loaded.Gap, Gap::KeyringLocked);
        QCOMPARE(
            loaded.Note,
            QStringLiteral("No password: the desktop's keyring is locked; unlock it, then choose Reconnect"));
        GlobalSettings.ICQPassword = u"n3w-Pw";
        QCOMPARE(Save(),
                 QStringLiteral("Password kept in the settings file: the desktop's keyring is locked; unlock "
                                "it, then press OK under User and Server Information to move the password "
                                "there"));
        QVERIFY(StoreBytes().contains("ICQPassword=n3w-Pw"));
    }
};

PAGEWING_QTEST_MAIN(KeyringTest)
#include "KeyringTest.moc"
