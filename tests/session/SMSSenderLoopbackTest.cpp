// The session over real loopback sockets against the gateway simulator's ways of misbehaving: the Qt sockets,
// the simulator and the session's lines must meet as the unit tests assume. Deliveries, refusals and refused
// logins over loopback are the command line's tests.
//
// A message that a row sends goes out the moment the login is ready, in the session's own step, so that
// whatever the server sends right after client ready comes after the request.

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
        Sender.ConnectReconnect(simulator.Host.toStdU16String(), simulator.Port.toStdU16String());
    }

    void SendWhenReady() {
        Events.OnEvent = [this](const std::u16string& entry) {
            if (entry == u"ReadyToSendMessage") {
                Sender.SendSMSMessage(u"+15551234567", u"Ann:\r\nHi", u"1252", u"100200300", u"TICQClient",
                                      u"Yes", 1);
            }
        };
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
        QTest::addColumn<bool>("send");
        const QString stalled = QStringLiteral("The server stopped answering during login");
        const QString closed = QStringLiteral("The server closed the connection, must reconnect");
        const QString ready = QStringLiteral("Ready to send Message");
        QTest::newRow("no hello") << QStringList{"--stall-login"} << QString() << 30 << stalled << false;
        QTest::newRow("no SNAC 01,03")
            << QStringList{"--stall-service"} << "Sending Cookie" << 30 << stalled << false;
        // A thousand reports that no request waits for give one line before the server closes.
        QTest::newRow("flood, then closed after ready")
            << QStringList{"--flood", "1000", "--close-after-ready"} << ready << 0 << closed << false;
        QTest::newRow("a report nobody asked for, then the answer")
            << QStringList{"--flood", "1", "--deliver", "never"} << ready << 0
            << QStringLiteral("Message was not delivered") << true;
        QTest::newRow("request denied")
            << QStringList{"--deliver", "deny"} << ready << 0
            << QStringLiteral("Message was not delivered: the server denied the request (code 0x000D)")
            << true;
        QTest::newRow("logged off for another login")
            << QStringList{"--another-login"} << ready << 0
            << QStringLiteral("Logged off by the server: another login with this account") << true;
    }

    void misbehavingServersGetTheirLine() {
        QFETCH(QStringList, options);
        QFETCH(QString, stage);
        QFETCH(int, silence);
        QFETCH(QString, line);
        QFETCH(bool, send);
        GatewaySimProcess simulator(options);
        QVERIFY(simulator.WaitUntilListening());
        LoopbackSession session(simulator);
        if (send) {
            session.SendWhenReady();
        }
        if (stage.isEmpty()) {
            QTRY_VERIFY(session.Auth.IsConnected());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(session.Has(stage.toStdU16String()), 10000);
        }
        session.Timers.Advance(std::chrono::seconds(silence));
        QTRY_VERIFY_WITH_TIMEOUT(session.Has(line.toStdU16String()), 10000);
        QVERIFY(!session.Has(u"Message successfully delivered"));
        QCOMPARE(session.Has(
                     u"The SMS gateway sent a report for no message sent on this connection; it was ignored"),
                 options.contains(QStringLiteral("--flood")));
    }
};

PAGEWING_QTEST_MAIN(SMSSenderLoopbackTest)
#include "SMSSenderLoopbackTest.moc"
