// The session over real loopback sockets against the gateway simulator, plain and with every frame cut
// into small pieces.

#include "platform/QtSessionSocket.h"
#include "session/GlobalSettings.h"
#include "session/SMSSender.h"

#include "support/FakeSessionTimers.h"
#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/RecordingEvents.h"

#include <QTcpServer>
#include <QTest>

using namespace pagewing;
using namespace pagewing::test;

namespace {

bool HasLine(const RecordingEvents& events, std::u16string_view line) {
    return std::find(events.Lines.begin(), events.Lines.end(), line) != events.Lines.end();
}

std::size_t Count(const RecordingEvents& events, std::u16string_view line) {
    return static_cast<std::size_t>(std::count(events.Lines.begin(), events.Lines.end(), line));
}

// A session over the Qt sockets, as the main window makes it; its timers wait only when the test says so.
struct LoopbackSession {
    void LogIn(const GatewaySimProcess& simulator) {
        Sender.ConnectReconnect(simulator.Host.toStdU16String(), simulator.Port.toStdU16String());
    }

    QtSessionSocket Auth;
    QtSessionSocket Service;
    FixedClock Clock;
    FakeSessionTimers Timers;
    RecordingEvents Events;
    SMSSender Sender{Auth, Service, Clock, Timers, Events};
};

} // namespace

class SMSSenderLoopbackTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        GlobalSettings = {};
        GlobalSettings.ICQUIN = u"100200300";
        GlobalSettings.ICQPassword = u"pagewing";
    }

    void loginSendAndDeliveryReports_data() {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("plain") << QStringList{};
        QTest::newRow("fragmented") << QStringList{QStringLiteral("--fragment")};
    }

    void loginSendAndDeliveryReports() {
        QFETCH(QStringList, options);
        GatewaySimProcess simulator(options);
        QVERIFY(simulator.WaitUntilListening());
        LoopbackSession session;
        auto& events = session.Events;
        auto& sender = session.Sender;
        session.LogIn(simulator);
        QTRY_VERIFY_WITH_TIMEOUT(HasLine(events, u"Ready to send Message"), 10000);
        QCOMPARE(events.Lines,
                 (std::vector<std::u16string>{
                     u"Successfully connected", u"Sending UIN and Password", u"Cookie successfully received",
                     u"Redirected to another server", u"Sending Cookie", u"Ready to send Message"}));

        sender.SendSMSMessage(u"+15551234567", u"Ann:\r\nTom & Jerry <3", u"1252", u"100200300",
                              u"TICQClient", u"Yes");
        QTRY_VERIFY_WITH_TIMEOUT(HasLine(events, u"Message successfully delivered"), 10000);
        sender.SendSMSMessage(u"12", u"Ann:\r\nToo short a number", u"1252", u"100200300", u"TICQClient",
                              u"Yes");
        QTRY_VERIFY_WITH_TIMEOUT(HasLine(events, u"Message was not delivered"), 10000);
        QCOMPARE(Count(events, u"Sending message"), 2u);
        QCOMPARE(events.Lines.back(), u"Message was not delivered");

        QTRY_COMPARE(simulator.SmsLines().size(), 2);
        QCOMPARE(simulator.SmsLines().at(0), QStringLiteral("SMS to +15551234567: Ann:\\r\\nTom & Jerry <3"));
    }

    void misbehavingServersGetTheirLine_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("stage");
        QTest::addColumn<int>("silence");
        QTest::addColumn<QString>("line");
        const QString ready = QStringLiteral("Ready to send Message");
        const QString sent = QStringLiteral("Sending message");
        QTest::newRow("refusing gateway")
            << QStringList{"--deliver", "refuse"} << sent << 0
            << "Message was not delivered: the server refused it (code 0x46): Sorry, but SMS messages not "
               "implemented yet...";
        QTest::newRow("silent gateway")
            << QStringList{"--deliver", "silent"} << sent << 60 << "No answer from the SMS gateway yet";
        QTest::newRow("no hello") << QStringList{"--stall-login"} << QString() << 30
                                  << "The server stopped answering during login";
        QTest::newRow("no SNAC 01,03") << QStringList{"--stall-service"} << "Sending Cookie" << 30
                                       << "The server stopped answering during login";
        QTest::newRow("closed after ready") << QStringList{"--close-after-ready"} << ready << 0
                                            << "The server closed the connection, must reconnect";
        // A thousand reports that no request waits for give no line before the server closes.
        QTest::newRow("flood") << QStringList{"--flood", "1000", "--close-after-ready"} << ready << 0
                               << "The server closed the connection, must reconnect";
        QTest::newRow("wrong password")
            << QStringList{"--account", "100200300:other"} << QString() << 0 << "Bad password";
        QTest::newRow("unknown number")
            << QStringList{"--account", "424242:pagewing"} << QString() << 0 << "Non existant ICQ#";
    }

    void misbehavingServersGetTheirLine() {
        QFETCH(QStringList, options);
        QFETCH(QString, stage);
        QFETCH(int, silence);
        QFETCH(QString, line);
        GatewaySimProcess simulator(options);
        QVERIFY(simulator.WaitUntilListening());
        LoopbackSession session;
        auto& events = session.Events;
        session.LogIn(simulator);
        if (stage.isEmpty()) {
            QTRY_VERIFY(session.Auth.IsConnected());
        } else {
            if (stage == u"Sending message") {
                QTRY_VERIFY_WITH_TIMEOUT(HasLine(events, u"Ready to send Message"), 10000);
                session.Sender.SendSMSMessage(u"+15551234567", u"Ann:\r\nHi", u"1252", u"100200300",
                                              u"TICQClient", u"Yes");
            }
            QTRY_VERIFY_WITH_TIMEOUT(HasLine(events, stage.toStdU16String()), 10000);
        }
        session.Timers.Advance(std::chrono::seconds(silence));
        QTRY_VERIFY_WITH_TIMEOUT(HasLine(events, line.toStdU16String()), 10000);
        QVERIFY(!HasLine(events, u"Message successfully delivered"));
    }

    void loginConnectionIsClosedOnceTheCookieIsTaken() {
        GatewaySimProcess simulator({QStringLiteral("--keep-login-open")});
        QVERIFY(simulator.WaitUntilListening());
        LoopbackSession session;
        session.LogIn(simulator);
        QTRY_VERIFY_WITH_TIMEOUT(HasLine(session.Events, u"Ready to send Message"), 10000);
        QTRY_VERIFY(simulator.HasNote(QStringLiteral("auth#1: the client closed the connection")));
    }

    void refusedConnectionIsReportedWithTheSocketsDescription() {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const auto port = probe.serverPort();
        probe.close();
        LoopbackSession session;
        session.Sender.ConnectReconnect(u"127.0.0.1", QString::number(port).toStdU16String());
        QTRY_COMPARE(session.Events.Lines.size(), 1u);
        QCOMPARE(session.Events.Lines.front(), u"Connection refused");
    }

    void simulatorKilledMidSessionIsReportedAtOnce() {
        GatewaySimProcess simulator;
        QVERIFY(simulator.WaitUntilListening());
        LoopbackSession session;
        auto& events = session.Events;
        auto& sender = session.Sender;
        session.LogIn(simulator);
        QTRY_VERIFY_WITH_TIMEOUT(HasLine(events, u"Ready to send Message"), 10000);

        events.Log.clear();
        simulator.Stop();
        QTRY_COMPARE(events.Log,
                     (std::vector<std::u16string>{u"line: The server closed the connection, must reconnect",
                                                  u"NotReadyToSendMessage", u"SessionFailed"}));
        QVERIFY(!sender.SendSMSMessage(u"+15551234567", u"Ann:\r\nHi", u"1252", u"100200300", u"TICQClient",
                                       u"Yes"));
        QCOMPARE(events.Lines.back(), u"Not logged in yet: the message was not sent");
    }
};

PAGEWING_QTEST_MAIN(SMSSenderLoopbackTest)
#include "SMSSenderLoopbackTest.moc"
