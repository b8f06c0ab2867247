// The password in the desktop's keyring: run on a private session bus with GNOME Keyring (see
// run-with-keyring.sh), against the simulator for the login that reads it back.

#include "platform/AccountSettings.h"
#include "platform/DesktopIntegration.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QProcess>
#include <QTest>

#include <functional>
#include <optional>

using namespace pagewing;

namespace {

QByteArray StoreBytes() {
    QFile file(RegisteryLoadSave::StoreFileName());
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Runs a load or a save of the account and gives the note for the status list once the keyring has answered.
QString Finish(void (*step)(DesktopIntegration&, std::function<void(const QString&)>)) {
    DesktopIntegration desktop;
    std::optional<QString> note;
    step(desktop, [&note](const QString& text) { note = text; });
    return QTest::qWaitFor([&note] { return note.has_value(); }, 10000) ? *note
                                                                        : QStringLiteral("<no answer>");
}

// Stores the simulator's demo account, password included, in the settings file, then loads it as a start
// does.
QString LoadAccount(const QString& host, const QString& port) {
    test::SeedAccount(host, port);
    GlobalSettings = {};
    return Finish(AccountSettings::Load);
}

} // namespace

class KeyringTest : public QObject {
    Q_OBJECT

private slots:
    void passwordMovesToTheKeyringAndALaterStartReadsItBack() {
        test::GatewaySimProcess simulator;
        QVERIFY(simulator.WaitUntilListening());
        QCOMPARE(LoadAccount(simulator.Host, simulator.Port), QString());
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
        QCOMPARE(Finish(AccountSettings::Save), QString());
        QVERIFY(!StoreBytes().contains("ICQPassword"));
        GlobalSettings = {};
        QCOMPARE(Finish(AccountSettings::Load), QString());
        QVERIFY(GlobalSettings.ICQPassword == u"n3w-Pw");
    }

    void withoutAKeyringThePasswordStaysInTheFile() {
        const auto bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        const auto note = LoadAccount(QStringLiteral("127.0.0.1"), QStringLiteral("5190"));
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
        QCOMPARE(note, QStringLiteral("Password kept in the settings file: no keyring is available"));
        QVERIFY(GlobalSettings.ICQPassword == u"pagewing");
        QVERIFY(StoreBytes().contains("ICQPassword=pagewing"));
    }
};

PAGEWING_QTEST_MAIN(KeyringTest)
#include "KeyringTest.moc"
