// pagewing --send as scripts run it: a separate process with no display at all, against the simulator.

#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr auto Password = "s3cret-Pw";

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void outcomesHaveTheirExitStatus_data() {
        QTest::addColumn<QStringList>("simulator");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exit");
        // The last line on standard output; empty where nothing may be printed there, not even a login.
        QTest::addColumn<QString>("lastLine");
        QTest::addColumn<bool>("sent");
        const QStringList send{"--send", "Ann Lee +15551234567", "--sender", "Bob"};
        const QStringList message{"Tom", "&", "Jerry", "<3"};
        QTest::newRow("delivered") << QStringList{} << send + message << 0
                                   << "    Message successfully delivered" << true;
        QTest::newRow("from standard input")
            << QStringList{} << send + QStringList{"-"} << 0 << "    Message successfully delivered" << true;
        QTest::newRow("not delivered") << QStringList{"--deliver", "never"} << send + message << 1
                                       << "    Message was not delivered" << true;
        QTest::newRow("refused by the server")
            << QStringList{"--deliver", "refuse"} << send + message << 1
            << "(code 0x46): Sorry, but SMS messages not implemented yet..." << true;
        QTest::newRow("login refused") << QStringList{"--auth-error", "0005"} << send + message << 3
                                       << "was not sent: Bad password" << false;
        QTest::newRow("no login in time")
            << QStringList{"--stall-login"} << send + QStringList{"--timeout", "1"} + message << 4
            << "was not sent: no login within 1 seconds" << false;
        QTest::newRow("no answer in time")
            << QStringList{"--deliver", "silent"} << send + QStringList{"--timeout", "1"} + message << 5
            << "    Sending message" << true;
        QTest::newRow("text the wire cannot carry")
            << QStringList{} << send + QStringList{QStringLiteral("\u4F60\u597D")} << 2 << QString() << false;
        QTest::newRow("no number") << QStringList{} << QStringList{"--send", " ", "Hi"} << 2 << QString()
                                   << false;
        QTest::newRow("missing settings file")
            << QStringList{} << QStringList{"--send", "123", "--settings", "/nonexistent", "Hi"} << 2
            << QString() << false;
    }

    // With a settings file of its own, and nothing in its environment that names a display.
    void outcomesHaveTheirExitStatus() {
        QFETCH(QStringList, simulator);
        QFETCH(QStringList, arguments);
        QFETCH(int, exit);
        QFETCH(QString, lastLine);
        QFETCH(bool, sent);
        pagewing::test::GatewaySimProcess gateway(simulator << QStringLiteral("--account")
                                                            << QStringLiteral("100200300:%1").arg(Password));
        QVERIFY(gateway.WaitUntilListening());
        const QTemporaryDir folder;
        QFile settings(folder.filePath(QStringLiteral("account.ini")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(
            QStringLiteral("[Settings]\nLoginURL=%1\nLoginPort=%2\nICQUIN=100200300\nICQPassword=%3\n")
                .arg(gateway.Host, gateway.Port, QLatin1String(Password))
                .toUtf8());
        settings.close();

        QProcess command;
        auto environment = QProcessEnvironment::systemEnvironment();
        for (const auto* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QLatin1String(name));
        }
        command.setProcessEnvironment(environment);
        command.start(QStringLiteral(PAGEWING_EXECUTABLE),
                      QStringList{QStringLiteral("--settings"), settings.fileName()} + arguments);
        command.write("Tom & Jerry <3\n");
        command.closeWriteChannel();
        QVERIFY(command.waitForFinished(30000));
        QCOMPARE(command.exitCode(), exit);
        const auto output = QString::fromUtf8(command.readAllStandardOutput());
        const auto errors = QString::fromUtf8(command.readAllStandardError());
        const auto lines = output.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(lastLine.isEmpty() ? lines.isEmpty() : lines.constLast().endsWith(lastLine),
                 qPrintable(output));
        // Errors name the program, and only a failure has any.
        QVERIFY2(exit < 2 ? errors.isEmpty() : errors.startsWith(u"pagewing: "), qPrintable(errors));
        QVERIFY(!(output + errors).contains(QLatin1String(Password)));
        // The simulator writes its line before it answers, so it is there once the command has its outcome.
        const auto sms = QStringLiteral("SMS to +15551234567: Bob:\\r\\nTom & Jerry <3");
        QCOMPARE(gateway.SmsLines(), sent ? QStringList{sms} : QStringList{});
    }
};

PAGEWING_QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
