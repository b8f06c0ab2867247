// The password from a command, for unattended use: its first line of output, and the keyring and the
// settings file's password left alone.

#include "platform/AccountSettings.h"
#include "platform/DesktopIntegration.h"
#include "platform/PasswordCommand.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QTest>

#include <optional>

using namespace pagewing;
using namespace std::chrono_literals;

namespace {

QByteArray StoreBytes() {
    QFile file(RegisteryLoadSave::StoreFileName());
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

AccountSettings::Loaded Load() {
    DesktopIntegration desktop;
    std::optional<AccountSettings::Loaded> loaded;
    AccountSettings::Load(desktop, [&loaded](const AccountSettings::Loaded& given) { loaded = given; });
    if (!QTest::qWaitFor([&loaded] { return loaded.has_value(); }, 10000)) {
        qFatal("The password command did not answer");
    }
    return *loaded;
}

} // namespace

class AccountSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        test::ForgetStoredSettings();
        // The settings file holds a password too, which a command overrules.
        test::SeedAccount(QStringLiteral("127.0.0.1"), QStringLiteral("5190"));
        AccountSettings::UsePasswordCommand({});
    }

    void aPasswordCommandGivesThePasswordAndNothingStoresIt() {
        GlobalSettings.PasswordCommand = u"printf 'fr0m-key\\r\\nsecond line\\n'";
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        GlobalSettings = {};
        QCOMPARE(Load().Note, QString());
        QVERIFY(GlobalSettings.ICQPassword == u"fr0m-key");
        // The command line's own command wins over the settings'.
        AccountSettings::UsePasswordCommand(QStringLiteral("echo 0verride"));
        QCOMPARE(Load().Gap, AccountSettings::PasswordGap::None);
        QVERIFY(GlobalSettings.ICQPassword == u"0verride");
        // OK in the options stores the account, but not the password a command gave.
        DesktopIntegration desktop;
        QString note = QStringLiteral("<no answer>");
        AccountSettings::Save(desktop, [&note](const QString& given) { note = given; });
        QCOMPARE(note, QString());
        QVERIFY(StoreBytes().contains("ICQPassword=pagewing") && !StoreBytes().contains("0verride"));
    }

    void aFailingPasswordCommandGivesNoPasswordAndSaysWhy() {
        const struct {
            QString Command;
            QString Failure;
        } cases[] = {
            {"echo 'no such entry' >&2; echo partial; exit 3", "ended with exit status 3: no such entry"},
            {"printf '\\n'", "gave no password"},
            {"no-such-program-here", "ended with exit status 127: "},
        };
        for (const auto& [command, failure] : cases) {
            AccountSettings::UsePasswordCommand(command);
            const auto loaded = Load();
            QCOMPARE(loaded.Gap, AccountSettings::PasswordGap::CommandFailed);
            QVERIFY2(loaded.Reason.startsWith(
                         QStringLiteral("the password command \u201C%1\u201D %2").arg(command, failure)),
                     qPrintable(loaded.Reason));
            QCOMPARE(loaded.Note, QStringLiteral("No password: ") + loaded.Reason +
                                      QStringLiteral("; mend the password command, then choose Reconnect"));
            QVERIFY(GlobalSettings.ICQPassword.empty());
        }
    }

    void aPasswordCommandThatHangsIsStopped() {
        QObject owner;
        std::optional<PasswordCommand::Result> result;
        PasswordCommand::Run(
            QStringLiteral("echo early; exec sleep 30"), owner,
            [&result](const PasswordCommand::Result& given) { result = given; }, 100ms);
        QVERIFY(QTest::qWaitFor([&result] { return result.has_value(); }, 10000));
        QVERIFY(!result->Password && result->Failure.startsWith(u"gave no password within"));
    }
};

PAGEWING_QTEST_MAIN(AccountSettingsTest)
#include "AccountSettingsTest.moc"
