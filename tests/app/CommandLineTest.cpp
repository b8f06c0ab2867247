// pagewing --send as scripts run it: a separate process with no display at all, against the simulator.

#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr auto Password = "s3cret-Pw";

struct Run {
    int Exit = -1;
    QString Output;
    QString Errors;
    QStringList SmsLines;
};

// Runs the command with a settings file of its own and nothing in its environment that names a display.
Run SendWith(const QStringList& simulatorOptions, const QStringList& arguments,
             const QString& password = Password, const QByteArray& input = {}) {
    pagewing::test::GatewaySimProcess simulator(
        simulatorOptions + QStringList{QStringLiteral("--account"), QStringLiteral("100200300:") + Password});
    if (!simulator.WaitUntilListening()) {
        return {};
    }
    QTemporaryDir folder;
    const auto settings = folder.filePath(QStringLiteral("account.ini"));
    QFile file(settings);
    file.open(QIODevice::WriteOnly);
    file.write(QStringLiteral("[Settings]\nLoginURL=%1\nLoginPort=%2\nICQUIN=100200300\nICQPassword=%3\n")
                   .arg(simulator.Host, simulator.Port, password)
                   .toUtf8());
    file.close();

    QProcess command;
    auto environment = QProcessEnvironment::systemEnvironment();
    for (const auto* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QLatin1String(name));
    }
    command.setProcessEnvironment(environment);
    command.start(QStringLiteral(PAGEWING_EXECUTABLE),
                  QStringList{QStringLiteral("--settings"), settings} + arguments);
    command.write(input);
    command.closeWriteChannel();
    command.waitForFinished(30000);
    // The simulator writes its line before it answers, so it is there once the command has its outcome.
    return {command.exitStatus() == QProcess::NormalExit ? command.exitCode() : -1,
            QString::fromUtf8(command.readAllStandardOutput()),
            QString::fromUtf8(command.readAllStandardError()), simulator.SmsLines()};
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void outcomesHaveTheirExitStatus_data() {
        QTest::addColumn<QStringList>("simulator");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exit");
        QTest::addColumn<QString>("lastLine");
        QTest::addColumn<QStringList>("smsLines");
        const QStringList send{"--send", "Ann Lee +15551234567", "--sender", "Bob"};
        const QStringList delivered{"SMS to +15551234567: Bob:\\r\\nTom & Jerry <3"};
        QTest::newRow("delivered") << QStringList{} << send + QStringList{"Tom", "&", "Jerry", "<3"}
                                   << Password << QByteArray() << 0 << "    Message successfully delivered"
                                   << delivered;
        QTest::newRow("from standard input")
            << QStringList{} << send + QStringList{"-"} << Password << QByteArray("Tom & Jerry <3\n") << 0
            << "    Message successfully delivered" << delivered;
        QTest::newRow("not delivered")
            << QStringList{"--deliver", "never"} << send + QStringList{"Hi"} << Password << QByteArray() << 1
            << "    Message was not delivered" << QStringList{"SMS to +15551234567: Bob:\\r\\nHi"};
        QTest::newRow("refused")
            << QStringList{"--deliver", "refuse"} << send + QStringList{"Hi"} << Password << QByteArray() << 1
            << "    Message was not delivered: the server refused it (code 0x46): Sorry, but "
               "SMS messages not implemented yet..."
            << QStringList{"SMS to +15551234567: Bob:\\r\\nHi"};
        QTest::newRow("wrong password") << QStringList{} << send + QStringList{"Hi"} << "wrong"
                                        << QByteArray() << 3 << "    Bad password" << QStringList{};
        QTest::newRow("text the wire cannot carry")
            << QStringList{} << send + QStringList{QStringLiteral("\u4F60\u597D")} << Password << QByteArray()
            << 2 << QString() << QStringList{};
        QTest::newRow("over the allowance") << QStringList{} << send + QStringList{QString(140, u'x')}
                                            << Password << QByteArray() << 2 << QString() << QStringList{};
        QTest::newRow("no answer in time")
            << QStringList{"--deliver", "silent"} << send + QStringList{"--timeout", "1", "Hi"} << Password
            << QByteArray() << 4 << "    Sending message" << QStringList{"SMS to +15551234567: Bob:\\r\\nHi"};
    }

    void outcomesHaveTheirExitStatus() {
        QFETCH(QStringList, simulator);
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        QFETCH(QByteArray, input);
        QFETCH(int, exit);
        QFETCH(QString, lastLine);
        QFETCH(QStringList, smsLines);
        const auto run = SendWith(simulator, arguments, password, input);
        QCOMPARE(run.Exit, exit);
        const auto lines = run.Output.split(u'\n', Qt::SkipEmptyParts);
        if (lastLine.isEmpty()) {
            // Nothing was sent, so there was no login either.
            QVERIFY2(lines.isEmpty(), qPrintable(run.Output));
            QVERIFY(run.Errors.contains(QStringLiteral("nothing was sent")));
        } else {
            QVERIFY2(!lines.isEmpty() && lines.constLast().endsWith(lastLine), qPrintable(run.Output));
        }
        QCOMPARE(run.Errors.isEmpty(), exit < 2);
        QCOMPARE(run.SmsLines, smsLines);
        QVERIFY(!(run.Output + run.Errors).contains(QLatin1String(Password)));
    }

    void badUsageSendsNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{"--bogus"};
        QTest::newRow("sender without send") << QStringList{"--sender", "Bob"};
        QTest::newRow("no number") << QStringList{"--send", " ", "Hi"};
        QTest::newRow("timeout of nothing") << QStringList{"--send", "123", "--timeout", "0", "Hi"};
        QTest::newRow("missing settings file")
            << QStringList{"--send", "123", "--settings", "/nonexistent", "Hi"};
    }

    void badUsageSendsNothing() {
        QFETCH(QStringList, arguments);
        QProcess command;
        command.start(QStringLiteral(PAGEWING_EXECUTABLE), arguments);
        QVERIFY(command.waitForFinished(10000));
        QCOMPARE(command.exitCode(), 2);
        QVERIFY(command.readAllStandardOutput().isEmpty());
        QVERIFY(command.readAllStandardError().startsWith("pagewing: "));
    }
};

PAGEWING_QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
