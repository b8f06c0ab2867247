// pagewing --send and --history as scripts and cron run them: a separate process with no display at all,
// against the simulator.

#include "support/DestinationCases.h"
#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

constexpr auto Password = "s3cret-Pw";

struct Run {
    int Exit = -1;
    QStringList Lines;
    QString Errors;
};

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private:
    // Runs the program with a settings file of its own for the simulator's account, nothing in its
    // environment that names a display, and the given standard input.
    Run Program(const pagewing::test::GatewaySimProcess& gateway, const QStringList& arguments,
                const QByteArray& input = "Tom & Jerry <3\n", const QStringList& wrapper = {}) {
        QFile settings(Folder.filePath(QStringLiteral("account.ini")));
        settings.open(QIODevice::WriteOnly);
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
        const auto withSettings = arguments.contains(QStringLiteral("--send"))
                                      ? QStringList{QStringLiteral("--settings"), settings.fileName()}
                                      : QStringList{};
        const auto program = QStringList(wrapper) << QStringLiteral(PAGEWING_EXECUTABLE);
        command.start(program.constFirst(), program.mid(1) + withSettings + arguments);
        command.write(input);
        command.closeWriteChannel();
        command.waitForFinished(30000);
        return {command.exitCode(),
                QString::fromUtf8(command.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
                QString::fromUtf8(command.readAllStandardError())};
    }

    QTemporaryDir Folder;

private slots:
    void outcomesHaveTheirExitStatus_data() {
        QTest::addColumn<QStringList>("simulator");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exit");
        // How the last line on standard output ends; empty where nothing may be printed there.
        QTest::addColumn<QString>("lastLine");
        // The numbers the gateway got a request for, in order.
        QTest::addColumn<QStringList>("sentTo");
        const QStringList send{"--send", "Ann Lee +15551234567", "--sender", "Bob"};
        const QStringList message{"Tom", "&", "Jerry", "<3"};
        const QByteArray input = "Tom & Jerry <3\n";
        const QStringList ann{"+15551234567"};
        const auto delivered = QStringLiteral("    +15551234567: Message successfully delivered");
        QTest::newRow("delivered") << QStringList{} << send + message << input << 0 << delivered << ann;
        QTest::newRow("from standard input") << QStringList{} << send << input << 0 << delivered << ann;
        QTest::newRow("refused by the server")
            << QStringList{"--deliver", "refuse"} << send + message << input << 1
            << "(code 0x46): Sorry, but SMS messages not implemented yet..." << ann;
        // An answer is the answer to its own request, whatever else the server says.
        QTest::newRow("a report nobody asked for, then the answer")
            << QStringList{"--flood", "1", "--deliver", "never"} << send + message << input << 1
            << "+15551234567: Message was not delivered" << ann;
        QTest::newRow("request denied") << QStringList{"--deliver", "deny"} << send + message << input << 1
                                        << "the server denied the request (code 0x000D)" << ann;
        QTest::newRow("logged off for another login")
            << QStringList{"--another-login"} << send + message << input << 5
            << "before the SMS gateway answered; Message History can send it again" << ann;
        QTest::newRow("two numbers, the worst counts")
            << QStringList{} << QStringList{"--send", "+15551234567", "--send", "55501", "Hi"} << input << 1
            << "55501: Message was not delivered" << QStringList{"+15551234567", "55501"};
        QTest::newRow("login refused")
            << QStringList{"--auth-error", "0005:Authentication failed"} << send + message << input << 3
            << "was not sent: Bad password (code 0x0005): Authentication failed" << QStringList{};
        QTest::newRow("no login in time")
            << QStringList{"--stall-login"} << send + QStringList{"--timeout", "1"} + message << input << 4
            << "was not sent: no login within 1 second" << QStringList{};
        QTest::newRow("no answer in time")
            << QStringList{"--deliver", "silent"} << send + QStringList{"--timeout", "1"} + message << input
            << 5 << "+15551234567: The message may not have been delivered: no answer within 1 second" << ann;
        QTest::newRow("quiet, delivered")
            << QStringList{} << send + QStringList{"--quiet"} + message << input << 0 << QString() << ann;
        QTest::newRow("quiet, not delivered: all of it")
            << QStringList{"--deliver", "never"} << send + QStringList{"--quiet"} + message << input << 1
            << "+15551234567: Message was not delivered" << ann;
        QTest::newRow("text the wire cannot carry")
            << QStringList{} << send + QStringList{QStringLiteral("\u4F60\u597D")} << input << 2 << QString()
            << QStringList{};
        QTest::newRow("empty standard input") << QStringList{} << QStringList{"--send", "5550100"}
                                              << QByteArray() << 2 << QString() << QStringList{};
        QTest::newRow("not a number")
            << QStringList{} << QStringList{"--send", "5550100", "--send", "Ann Lee", "Hi"} << input << 2
            << QString() << QStringList{};
        QTest::newRow("missing settings file")
            << QStringList{} << QStringList{"--send", "123", "--settings", "/nonexistent", "Hi"} << input << 2
            << QString() << QStringList{};
    }

    void outcomesHaveTheirExitStatus() {
        QFETCH(QStringList, simulator);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, exit);
        QFETCH(QString, lastLine);
        QFETCH(QStringList, sentTo);
        pagewing::test::GatewaySimProcess gateway(simulator << QStringLiteral("--account")
                                                            << QStringLiteral("100200300:%1").arg(Password));
        QVERIFY(gateway.WaitUntilListening());
        const auto run = Program(gateway, arguments, input);
        QCOMPARE(run.Exit, exit);
        const auto output = run.Lines.join(u'\n');
        QVERIFY2(lastLine.isEmpty() ? run.Lines.isEmpty() : run.Lines.constLast().endsWith(lastLine),
                 qPrintable(output));
        // Errors name the program, and only a failure has any.
        QVERIFY2(exit < 2 ? run.Errors.isEmpty() : run.Errors.startsWith(u"pagewing: "),
                 qPrintable(run.Errors));
        QVERIFY(!(output + run.Errors).contains(QLatin1String(Password)));
        // The simulator writes its line before it answers, so it is there once the command has its outcome.
        QStringList requests;
        for (const auto& line : gateway.SmsLines()) {
            requests.append(line.section(u':', 0, 0).mid(7));
        }
        QCOMPARE(requests, sentTo);
    }

    void everyMessageGoesToTheNumberMeant() {
        pagewing::test::GatewaySimProcess gateway(
            {QStringLiteral("--account"), QStringLiteral("100200300:%1").arg(Password)});
        QVERIFY(gateway.WaitUntilListening());
        QStringList sends;
        QStringList numbers;
        for (const auto& destination : pagewing::test::DestinationCases) {
            if (*destination.Refusal == 0) {
                sends << QStringLiteral("--send") << QLatin1String(destination.Entry);
                numbers << QLatin1String(destination.Number);
                continue;
            }
            const auto refused = Program(gateway, {"--send", destination.Entry, "Hi"});
            QCOMPARE(refused.Exit, 2);
            // The parser itself turns away an empty number, in words of its own.
            QVERIFY2(*destination.Entry == 0 || refused.Errors.contains(QLatin1String(destination.Refusal)),
                     qPrintable(refused.Errors));
        }
        const auto sent = Program(gateway, sends << QStringLiteral("Hi"));
        QStringList requests;
        for (const auto& line : gateway.SmsLines()) {
            requests.append(line.section(u':', 0, 0).mid(7));
        }
        QCOMPARE(requests, numbers);
        // Each line about a message names it by its number as sent.
        for (const auto& number : numbers) {
            QVERIFY2(sent.Lines.filter(QStringLiteral("    %1: Message").arg(number)).size() ==
                         numbers.count(number),
                     qPrintable(sent.Lines.join(u'\n')));
        }
    }

    void jsonLinesAndTheHistoryTellWhatHappened() {
        pagewing::test::GatewaySimProcess gateway(
            {QStringLiteral("--account"), QStringLiteral("100200300:%1").arg(Password)});
        QVERIFY(gateway.WaitUntilListening());
        const auto sent = Program(gateway, {"--send", "Ann +15551234567", "--json", "Hi"});
        QCOMPARE(sent.Exit, 0);
        for (const auto& line : sent.Lines) {
            const auto object = QJsonDocument::fromJson(line.toUtf8()).object();
            QVERIFY2(object.contains(u"time") && object.contains(u"number") && object.contains(u"text"),
                     qPrintable(line));
        }
        const auto outcome = QJsonDocument::fromJson(sent.Lines.constLast().toUtf8()).object();
        QCOMPARE(outcome.value(u"kind").toString(), QStringLiteral("delivered"));
        QCOMPARE(outcome.value(u"number").toString(), QStringLiteral("+15551234567"));

        Program(gateway, {"--send", "55501", "--sender", "Cron", "line one\nline\ttwo"});
        const auto history = Program(gateway, {"--history", "--limit", "2"});
        QCOMPARE(history.Exit, 0);
        QCOMPARE(history.Lines.size(), 2);
        QCOMPARE(history.Lines.constFirst().split(u'\t').mid(1),
                 (QStringList{"55501", "55501", "Cron", "line one\\nline\\ttwo", "not delivered", "0", ""}));

        // A reader says truly that another program keeps the file locked, after a second.
        const auto file = qEnvironmentVariable("XDG_DATA_HOME") +
                          QStringLiteral("/" PAGEWING_PRODUCT_NAME "/history.sqlite");
        {
            auto writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
            writer.setDatabaseName(file);
            QSqlQuery query(writer.open() ? writer : QSqlDatabase());
            for (const auto* statement : {"PRAGMA locking_mode = EXCLUSIVE", "BEGIN EXCLUSIVE",
                                          "DELETE FROM messages WHERE id < 0"}) {
                QVERIFY(query.exec(QLatin1String(statement)));
            }
            const auto locked = Program(gateway, {"--history"});
            QVERIFY2(locked.Exit == 2 && locked.Errors.contains(u"kept it locked for more than a second"),
                     qPrintable(locked.Errors));
            QVERIFY(query.exec(QStringLiteral("ROLLBACK")) &&
                    query.exec(QStringLiteral("PRAGMA user_version = 7")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
        // A newer version's file, in a folder the reader cannot write, is read as it stands. Root writes
        // anywhere unless it gives up the right to.
        const auto folder = QFileInfo(file).path();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        const auto withoutOverride =
            ::geteuid() == 0 ? QStringList{"setpriv", "--bounding-set=-dac_override,-dac_read_search", "--"}
                             : QStringList{};
        const auto readOnly = Program(gateway, {"--history", "--limit", "2"}, {}, withoutOverride);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readOnly.Lines, history.Lines);
        QVERIFY2(readOnly.Exit == 0 && readOnly.Errors.isEmpty(), qPrintable(readOnly.Errors));
    }
};

PAGEWING_QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
