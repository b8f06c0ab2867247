// Where the password comes from: the desktop's keyring, run on a private session bus with GNOME Keyring (see
// run-with-keyring.sh), the settings file, or a password command; the simulator takes the login.

#include "platform/Keyring.h"
#include "platform/AccountSettings.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QProcess>
#include <QTemporaryDir>
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

// Waits for the answer of a load or a save of the account, once the keyring or the command has given it.
template <typename Answer, typename Step>
Answer Finish(Step step) {
    Keyring keyring;
    std::optional<Answer> answer;
    step(keyring, [&answer](const Answer& given) { answer = given; });
    if (!QTest::qWaitFor([&answer] { return answer.has_value(); }, 10000)) {
        qFatal("No answer");
    }
    return *answer;
}

AccountSettings::Loaded Load() {
    return Finish<AccountSettings::Loaded>(
        [](auto& keyring, auto done) { AccountSettings::Load(keyring, done); });
}

QString Save() {
    return Finish<QString>([](auto& keyring, auto done) { AccountSettings::Save(keyring, done); });
}

// Stores an account in the settings file, lets `meanwhile` act on it, then loads it as a start does.
AccountSettings::Loaded LoadAccount(const std::u16string& uin, const std::u16string& password,
                                    const std::u16string& command = {},
                                    const QString& port = QStringLiteral("5190"),
                                    const std::function<void()>& meanwhile = {}) {
    test::SeedAccount(QStringLiteral("127.0.0.1"), port);
    GlobalSettings.ICQUIN = uin;
    GlobalSettings.ICQPassword = password;
    GlobalSettings.PasswordCommand = command;
    RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
    GlobalSettings = {};
    if (meanwhile) {
        meanwhile();
    }
    return Load();
}

} // namespace

class KeyringTest : public QObject {
    Q_OBJECT

private slots:
    void passwordMovesToTheKeyringAndALaterStartReadsItBack() {
        test::GatewaySimProcess simulator;
        QVERIFY(simulator.WaitUntilListening());
        QCOMPARE(LoadAccount(u"100200300", u"pagewing", {}, simulator.Port).Note, QString());
        QVERIFY(GlobalSettings.ICQPassword == u"pagewing");
        QVERIFY(!StoreBytes().contains("ICQPassword"));

        // The command line logs in with nothing but the file and the keyring.
        QProcess command;
        const auto send = [&command](const QString& settings, const QStringList& more = {}) {
            command.start(QStringLiteral(PAGEWING_EXECUTABLE),
                          QStringList{"--settings", settings, "--send", "+15551234567", "Hi"} + more);
            return command.waitForFinished(20000) ? command.exitCode() : -1;
        };
        QCOMPARE(send(RegisteryLoadSave::StoreFileName()), 0);
        QVERIFY(!command.readAll().contains("pagewing"));

        // A script's own file keeps its password, byte for byte, though a keyring could take it.
        const QTemporaryDir folder;
        QFile script(folder.filePath(QStringLiteral("script.ini")));
        const auto bytes = "[Settings]\nLoginURL=127.0.0.1\nLoginPort=" + simulator.Port.toUtf8() +
                           "\nICQUIN=100200300\nICQPassword=pagewing\n";
        QVERIFY(script.open(QIODevice::WriteOnly) && script.write(bytes) == bytes.size());
        script.close();
        QCOMPARE(send(script.fileName()), 0);
        QVERIFY(script.open(QIODevice::ReadOnly) && script.readAll() == bytes);

        // cron: nothing but HOME and PATH, so the keyring of the desktop's session is out of reach.
        const QTemporaryDir home;
        QProcessEnvironment cron;
        cron.insert(QStringLiteral("HOME"), home.path());
        cron.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        command.setProcessEnvironment(cron);
        QCOMPARE(send(RegisteryLoadSave::StoreFileName()), 2);
        const auto errors = QString::fromUtf8(command.readAllStandardError());
        QVERIFY2(errors.contains(u"keyring cannot be reached") && errors.contains(u"--password-command") &&
                     !errors.contains(u"XDG_RUNTIME_DIR"),
                 qPrintable(errors));
        QCOMPARE(send(RegisteryLoadSave::StoreFileName(), {"--password-command", "echo pagewing"}), 0);

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
        const auto bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        const auto kept = LoadAccount(u"100200300", u"pagewing").Note;
        auto loaded = LoadAccount(u"100200300", u"");
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
        QCOMPARE(kept, QStringLiteral(
                           "Password kept in the settings file: no keyring is available (no session bus)"));
        QCOMPARE(loaded.Gap, Gap::NoSessionBus);
        QCOMPARE(loaded.Note,
                 QStringLiteral("No password: the desktop's keyring cannot be reached from here (no "
                                "session bus); enter it under User and Server Information, or give a "
                                "password command"));

        loaded = LoadAccount(u"4242", u"");
        QCOMPARE(loaded.Gap, Gap::NoKeyringEntry);
        QCOMPARE(loaded.Note,
                 QStringLiteral("No password: the desktop's keyring holds no password for ICQ number "
                                "4242; enter it under User and Server Information"));

        // A session bus with no keyring service on it, for the command line.
        QProcess command;
        command.setProcessChannelMode(QProcess::MergedChannels);
        command.start(QStringLiteral("dbus-run-session"),
                      {QStringLiteral("--config-file"), QStringLiteral(PAGEWING_BUS_WITHOUT_SERVICES),
                       QStringLiteral("--"), QStringLiteral(PAGEWING_EXECUTABLE),
                       QStringLiteral("--settings"), RegisteryLoadSave::StoreFileName(),
                       QStringLiteral("--send"), QStringLiteral("5551234"), QStringLiteral("Hi")});
        QVERIFY(command.waitForFinished(20000));
        QCOMPARE(command.exitCode(), 2);
        QVERIFY(command.readAll().contains(
            "keyring cannot be reached from here (no keyring service on the session bus)"));
    }

    void aPasswordCommandGivesThePasswordAndNothingStoresIt() {
        QCOMPARE(LoadAccount(u"100200300", u"pagewing", u"printf 'fr0m;cmd#\\r\\nsecond\\n'").Lines(),
                 QStringList());
        QVERIFY(GlobalSettings.ICQPassword == u"fr0m;cmd#");
        QCOMPARE(Save(), QString());
        QVERIFY(StoreBytes().contains("ICQPassword=pagewing\n"));
        // The command line's command wins over the settings'.
        for (const auto* command : {"echo 'no such entry' >&2; echo half; exit 3", "printf '\\n'"}) {
            AccountSettings::UsePasswordCommand(QString::fromLatin1(command));
            const auto loaded = Load();
            AccountSettings::UsePasswordCommand({});
            QVERIFY(loaded.Gap == Gap::CommandFailed && GlobalSettings.ICQPassword.empty());
            QVERIFY2(
                loaded.Note.startsWith(QStringLiteral("No password: the password command \u201C%1\u201D ")
                                           .arg(QLatin1String(command))),
                qPrintable(loaded.Note));
        }

        // As ssh has it: a command in a file, or a folder, that others can write is not run.
        const auto file = RegisteryLoadSave::StoreFileName();
        for (const auto& lax : {file, QFileInfo(file).absolutePath()}) {
            const auto loaded =
                LoadAccount(u"100200300", u"pagewing", u"echo fr0m-cmd", QStringLiteral("5190"),
                            [&lax] { QFile::setPermissions(lax, QFile::Permissions(0x7666)); });
            QCOMPARE(
                loaded.Ignored,
                QStringLiteral("PasswordCommand in %1 is not run: others can write to %2").arg(file, lax));
            QVERIFY(GlobalSettings.ICQPassword == u"pagewing");
        }
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

        // It cannot ask for its password without a display, and QtKeychain then reports no entry.
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
