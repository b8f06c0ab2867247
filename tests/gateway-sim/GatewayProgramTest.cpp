#include "gateway-sim/Endpoint.h"

#include "gateway-sim/TestConversation.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTest>

using namespace pagewing::sim;
using namespace pagewing::sim::test;

namespace {

constexpr int Timeout = 5000;

// Reads one line from a channel of a running program while the test's own event loop keeps going.
QString ReadLine(QProcess& program, const QProcess::ProcessChannel channel) {
    program.setReadChannel(channel);
    if (!QTest::qWaitFor([&program] { return program.canReadLine(); }, Timeout)) {
        return {};
    }
    return QString::fromUtf8(program.readLine());
}

} // namespace

class GatewayProgramTest : public QObject {
    Q_OBJECT

private slots:
    void announcesItsPortsAndPrintsEachRequestAtOnce() {
        QProcess program;
        program.start(QStringLiteral(PAGEWING_GATEWAY_SIM_PATH), {"--listen", "127.0.0.1:0"});
        QVERIFY(program.waitForStarted(Timeout));

        static const QRegularExpression Announcement(
            R"(^pagewing-gateway-sim: authorization server on 127\.0\.0\.1:(\d+), service server on 127\.0\.0\.1:(\d+)\n$)");
        const auto line = ReadLine(program, QProcess::StandardError);
        const auto match = Announcement.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        const auto authorization = Endpoint::Parse(QStringLiteral("127.0.0.1:") + match.captured(1));
        QVERIFY(authorization && authorization->Port != 0);

        const auto login = LogIn(*authorization, DemoUin, DemoPassword);
        QVERIFY(login);
        QCOMPARE(login->Tlvs.value(0x0005), QByteArray("127.0.0.1:") + match.captured(2).toLatin1());
        const auto session = OpenSession(*authorization);
        QVERIFY(session);
        session->Send(SmsFrame(1, 1, "+15551234567", "Hi\r\nthere"));
        QCOMPARE(SmsReplyVerdict(session->NextFrame(), 1, 1), QStringLiteral("Yes"));
        QCOMPARE(ReadLine(program, QProcess::StandardOutput),
                 QStringLiteral("SMS to +15551234567: Hi\\r\\nthere\n"));

        program.terminate();
        QVERIFY(program.waitForFinished(Timeout));
    }

    void exitStatus_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QProcess::ProcessChannel>("channel");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("help") << QStringList{"--help"} << 0 << QProcess::StandardOutput << "--deliver";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QProcess::StandardError << "bogus";
        QTest::newRow("bad rule") << QStringList{"--deliver", "sometimes"} << 2 << QProcess::StandardError
                                  << "--deliver";
        QTest::newRow("bad address") << QStringList{"--listen", "nowhere"} << 2 << QProcess::StandardError
                                     << "--listen";
        QTest::newRow("authorization port in use") << QStringList{"--listen", "127.0.0.1:BUSY"} << 1
                                                   << QProcess::StandardError << "authorization server";
        QTest::newRow("service port in use")
            << QStringList{"--listen", "127.0.0.1:0", "--service", "127.0.0.1:BUSY"} << 1
            << QProcess::StandardError << "service server";
    }

    void exitStatus() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QProcess::ProcessChannel, channel);
        QFETCH(QString, mentions);
        QTcpServer busy;
        QVERIFY(busy.listen(QHostAddress::LocalHost));
        arguments.replaceInStrings(QStringLiteral("BUSY"), QString::number(busy.serverPort()));

        QProcess program;
        program.start(QStringLiteral(PAGEWING_GATEWAY_SIM_PATH), arguments);
        QVERIFY(program.waitForFinished(Timeout));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        program.setReadChannel(channel);
        const auto text = QString::fromUtf8(program.readAll());
        QVERIFY2(text.contains(mentions), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(GatewayProgramTest)
#include "GatewayProgramTest.moc"
