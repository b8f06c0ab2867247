// The session over real loopback sockets against the gateway simulator's ways of misbehaving: the Qt sockets,
// the simulator and the session's lines must meet as the unit tests assume. Deliveries, refusals and refused
// logins over loopback are the command line's tests.

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
        QTest::newRow("no hello") << QStringList{"--stall-login"} << QString() << 30 << stalled;
        QTest::newRow("no SNAC 01,03") << QStringList{"--stall-service"} << "Sending Cookie" << 30 << stalled;
        // A thousand reports that no request waits for give no line before the server closes.
        QTest::newRow("flood, then closed after ready")
            << QStringList{"--flood", "1000", "--close-after-ready"} << "Ready to send Message" << 0
            << closed;
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
