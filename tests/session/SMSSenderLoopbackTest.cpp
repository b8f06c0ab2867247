// The session over real loopback sockets against the gateway simulator's ways of misbehaving: the Qt sockets,
// the simulator and the session's lines must meet as the unit tests assume. Deliveries, refusals and refused
// logins over loopback are the command line's tests.
//
// A message goes out the moment the login is ready, in the session's own step, so that whatever the server
// sends right after client ready comes after the request.

#include "platform/QtSessionSocket.h"
#include "session/GlobalSettings.h"
#include "session/SMSSender.h"

#include "support/FakeSessionTimers.h"
#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/RecordingEvents.h"

#include <QTest>

#include <algorithm>

using namespace pagewing;
using namespace pagewing::test;

namespace {

// A session over the Qt sockets, as the main window makes it; its timers wait only when the test says so.
struct LoopbackSession {
    explicit LoopbackSession(const GatewaySimProcess& simulator) {
        GlobalSettings = {};
        GlobalSettings.ICQUIN = u"100200300";
        GlobalSettings.ICQPassword = u"pagewing";
        Events.OnEvent = [this](const std::u16string& entry) {
            if (entry == u"ReadyToSendMessage") {
                Sender.SendSMSMessage(u"+15551234567", u"Ann:\r\nHi", u"1252", u"100200300", u"TICQClient",
                                      u"Yes", 1);
            }
        };
        Sender.ConnectReconnect(simulator.Host.toStdU16String(), simulator.Port.toStdU16String());
    }

    bool Has(std::u16string_view line) const {
        return std::find(Events.Lines.begin(), Events.Lines.end(), line) != Events.Lines.end();
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
    void misbehavingServersGetTheirLine_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("stage");
        QTest::addColumn<int>("silence");
        QTest::addColumn<QString>("line");
        const QString stalled = QStringLiteral("The server stopped answering during login");
        const QString closed = QStringLiteral("The server closed the connection, must reconnect");
        const QString ready = QStringLiteral("Ready to send Message");
        QTest::newRow("no hello") << QStringList{"--stall-login"} << QString() << 30 << stalled;
        QTest::newRow("no SNAC 01,03") << QStringList{"--stall-service"} << "Sending Cookie" << 30 << stalled;
        // A thousand reports that no request waits for are not taken for answers; the server then closes.
        QTest::newRow("flood, then closed after ready")
            << QStringList{"--flood", "1000", "--close-after-ready"} << ready << 0 << closed;
        QTest::newRow("a report nobody asked for, then the answer")
            << QStringList{"--flood", "1", "--deliver", "never"} << ready << 0
            << QStringLiteral("Message was not delivered");
        QTest::newRow("request denied")
            << QStringList{"--deliver", "deny"} << ready << 0
            << QStringLiteral("Message was not delivered: the server denied the request (code 0x000D)");
        QTest::newRow("logged off for another login")
            << QStringList{"--another-login"} << ready << 0
            << QStringLiteral("Logged off by the server: another login with this account");
    }

    void misbehavingServersGetTheirLine() {
        QFETCH(QStringList, options);
        QFETCH(QString, stage);
        QFETCH(int, silence);
        QFETCH(QString, line);
        GatewaySimProcess simulator(options);
        QVERIFY(simulator.WaitUntilListening());
        LoopbackSession session(simulator);
        if (stage.isEmpty()) {
            QTRY_VERIFY(session.Auth.IsConnected());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(session.Has(stage.toStdU16String()), 10000);
        }
        session.Timers.Advance(std::chrono::seconds(silence));
        QTRY_VERIFY_WITH_TIMEOUT(session.Has(line.toStdU16String()), 10000);
        QVERIFY(!session.Has(u"Message successfully delivered"));
    }
};

PAGEWING_QTEST_MAIN(SMSSenderLoopbackTest)
#include "SMSSenderLoopbackTest.moc"
