#include "gateway-sim/GatewaySimulator.h"
#include "gateway-sim/OptionsParser.h"
#include "gateway-sim/Reporter.h"

#include "gateway-sim/TestConversation.h"
#include "gateway-sim/TestPackets.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

#include <memory>

using namespace pagewing::sim;
using namespace pagewing::sim::test;
using namespace Qt::Literals::StringLiterals;

namespace {

QBuffer& OpenedForWriting(QBuffer& buffer) {
    buffer.open(QIODevice::WriteOnly);
    return buffer;
}

struct RunningGateway {
    explicit RunningGateway(const Options& options)
        : Log(OpenedForWriting(SmsOutput), OpenedForWriting(Diagnostics), options.Verbose)
        , Simulator(options, Log) {}

    Endpoint Authorization() const { return Simulator.AuthorizationAddress(); }
    QStringList SmsLines() const {
        return QString::fromUtf8(SmsOutput.data()).split(u'\n', Qt::SkipEmptyParts);
    }

    QBuffer SmsOutput;
    QBuffer Diagnostics;
    Reporter Log;
    GatewaySimulator Simulator;
};

// On loopback with free ports, configured by the options the program takes; --verbose so that the frame
// descriptions run over everything the tests send.
std::unique_ptr<RunningGateway> StartGateway(const QStringList& arguments = {}) {
    const auto outcome =
        OptionsParser::Parse(QStringList{"sim", "--listen", "127.0.0.1:0", "--verbose"} + arguments);
    if (outcome.What != OptionsParser::Outcome::Kind::Run) {
        return nullptr;
    }
    auto gateway = std::make_unique<RunningGateway>(outcome.Settings);
    return gateway->Simulator.Start() ? std::move(gateway) : nullptr;
}

} // namespace

class GatewayConversationTest : public QObject {
    Q_OBJECT

private slots:
    void loginOutcomes_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("uin");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<bool>("byteByByte");
        QTest::addColumn<int>("error");
        const QByteArray uin = DemoUin;
        const QByteArray password = DemoPassword;
        QTest::newRow("demo account") << QStringList() << uin << password << false << 0;
        QTest::newRow("login sent byte by byte") << QStringList() << uin << password << true << 0;
        QTest::newRow("fragmenting server") << QStringList{"--fragment"} << uin << password << false << 0;
        QTest::newRow("wrong password") << QStringList() << uin << QByteArray("pagewinG") << false << 0x0004;
        QTest::newRow("password prefix") << QStringList() << uin << QByteArray("pagewin") << false << 0x0004;
        QTest::newRow("unknown UIN") << QStringList() << QByteArray("100200301") << password << false
                                     << 0x0007;
        QTest::newRow("Windows-1252 password") << QStringList{"--account", "5:x", "--account", "7:p\u20ACss"}
                                               << QByteArray("7") << Hex("70807373") << false << 0;
        QTest::newRow("demo account replaced")
            << QStringList{"--account", "5:x"} << uin << password << false << 7;
        QTest::newRow("forced error")
            << QStringList{"--auth-error", "0018"} << uin << password << false << 0x18;
        QTest::newRow("forced error for a stranger")
            << QStringList{"--auth-error", "0x1d"} << QByteArray("999") << QByteArray("x") << false << 0x1D;
    }

    void loginOutcomes() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, uin);
        QFETCH(QByteArray, password);
        QFETCH(bool, byteByByte);
        QFETCH(int, error);
        const auto gateway = StartGateway(arguments);
        QVERIFY(gateway);

        const auto login = LogIn(gateway->Authorization(), uin, password, byteByByte);
        QVERIFY(login);
        QCOMPARE(login->Reply.Channel, 4);
        QCOMPARE(login->Reply.Sequence, static_cast<quint16>(login->HelloSequence + 1));
        QCOMPARE(login->Tlvs.value(0x0001), uin);
        if (error == 0) {
            QCOMPARE(login->Tlvs.value(0x0005),
                     "127.0.0.1:" + QByteArray::number(gateway->Simulator.ServiceAddress().Port));
            QCOMPARE(login->Tlvs.value(0x0006).size(), 256);
            QVERIFY(!login->Tlvs.contains(0x0008));
        } else {
            QCOMPARE(login->Tlvs.value(0x0008), Be16(static_cast<quint16>(error)));
            QVERIFY(login->Tlvs.value(0x0004).endsWith(
                "code=" + QByteArray::number(error, 16).rightJustified(4, '0').toUpper()));
            QVERIFY(!login->Tlvs.contains(0x0005) && !login->Tlvs.contains(0x0006));
        }
        QVERIFY2(login->ClosedAfterReply, "the server closes the connection after its one answer");
    }

    void cookieOpensOneSessionOnly() {
        const auto gateway = StartGateway();
        QVERIFY(gateway);
        const auto first = LogIn(gateway->Authorization(), DemoUin, DemoPassword);
        const auto second = LogIn(gateway->Authorization(), DemoUin, DemoPassword);
        QVERIFY(first && second);
        QVERIFY(first->Tlvs.value(0x0006) != second->Tlvs.value(0x0006));

        QByteArray invented(256, Qt::Uninitialized);
        QRandomGenerator(11).fillRange(reinterpret_cast<quint32*>(invented.data()), invented.size() / 4);
        const std::pair<QByteArray, QByteArray> attempts[] = {
            {first->Tlvs.value(0x0006), Hex("0001 0003 0000 00000000  0001 0002 0003 0004 0009 0013 0015")},
            {first->Tlvs.value(0x0006), Hex("0009 0002 0001")},
            {invented, Hex("0009 0002 0001")},
            {second->Tlvs.value(0x0006), Hex("0001 0003 0000 00000000  0001 0002 0003 0004 0009 0013 0015")},
        };
        for (const auto& [cookie, answer] : attempts) {
            OscarTestClient client;
            QVERIFY(client.Connect(gateway->Simulator.ServiceAddress()));
            QVERIFY(IsHello(client.NextFrame()));
            client.Send(Frame(1, 7, CookiePayload(cookie)));
            const auto frame = client.NextFrame();
            QVERIFY(frame);
            QCOMPARE(frame->Payload, answer);
            const bool refused = answer.startsWith(Hex("0009"));
            QCOMPARE(frame->Channel, refused ? 4 : 2);
            QVERIFY(!refused || client.WaitForServerClose());
        }
    }

    void smsConversation_data() {
        QTest::addColumn<bool>("byteByByte");
        QTest::addColumn<bool>("fragment");
        QTest::newRow("whole frames") << false << false;
        QTest::newRow("client sends byte by byte") << true << false;
        QTest::newRow("server fragments") << false << true;
        QTest::newRow("both cut up") << true << true;
    }

    void smsConversation() {
        QFETCH(bool, byteByByte);
        QFETCH(bool, fragment);
        const auto gateway = StartGateway(fragment ? QStringList{"--fragment"} : QStringList());
        QVERIFY(gateway);
        const auto session = OpenSession(gateway->Authorization(), byteByByte);
        QVERIFY(session);

        // Client ready, a keep-alive and a SNAC the gateway does not serve, between the requests.
        session->Send(Frame(2, 1, SnacPayload(0x0001, 0x0002, 2, Hex("0001 0004 0110 0739").repeated(10))) +
                      Frame(5, 2, {}) + SmsFrame(0x101, 0x0001, "+15551234567", "Ann:\r\nHello &amp; bye") +
                      Frame(2, 4, SnacPayload(0x0004, 0x0006, 0x55, Hex("0000"))) +
                      SmsFrame(0x102, 0x8000, "12345", "short") +
                      SmsFrame(0x103, 0xFFFF, "4930123456789", "back\\slash \xE9&#x20AC;"));

        QCOMPARE(SmsReplyVerdict(session->NextFrame(), 0x101, 0x0001), u"Yes"_s);
        QCOMPARE(SmsReplyVerdict(session->NextFrame(), 0x102, 0x8000), u"No"_s);
        QCOMPARE(SmsReplyVerdict(session->NextFrame(), 0x103, 0xFFFF), u"Yes"_s);
        QVERIFY2(!fragment || session->PartialArrivals() > 0,
                 "fragments show as reads that end inside a frame");
        QCOMPARE(gateway->SmsLines(),
                 (QStringList{u"SMS to +15551234567: Ann:\\r\\nHello & bye"_s, u"SMS to 12345: short"_s,
                              u"SMS to 4930123456789: back\\\\slash \u00E9\u20AC"_s}));
    }

    void deliverOptionOverridesTheNumberRule() {
        for (const auto& [rule, destination, deliverable] :
             {std::tuple{"always", "555-1234", u"Yes"_s}, std::tuple{"never", "+15551234567", u"No"_s}}) {
            const auto gateway = StartGateway({"--deliver", rule});
            QVERIFY(gateway);
            const auto session = OpenSession(gateway->Authorization());
            QVERIFY(session);
            session->Send(SmsFrame(9, 9, destination, "text"));
            QCOMPARE(SmsReplyVerdict(session->NextFrame(), 9, 9), deliverable);
        }
    }

    void unreadableSmsRequestIsAnsweredNo() {
        const auto gateway = StartGateway();
        QVERIFY(gateway);
        const auto session = OpenSession(gateway->Authorization());
        QVERIFY(session);
        auto meta = SmsMetaBlock(100200300, 0x4242, SmsDocument("+15551234567", "text"));
        meta.replace(SmsMetaOffset::Subtype, 2, Hex("8215"));
        session->Send(Frame(2, 1, SnacPayload(0x0015, 0x0002, 0x77, Tlv(0x0001, meta))) +
                      Frame(2, 2, SnacPayload(0x0015, 0x0002, 0x78, {})) +
                      SmsFrame(0x79, 1, "+15551234567", "ok"));

        QCOMPARE(SmsReplyVerdict(session->NextFrame(), 0x77, 0x4242), u"No"_s);
        QCOMPARE(SmsReplyVerdict(session->NextFrame(), 0x78, 0), u"No"_s);
        QCOMPARE(SmsReplyVerdict(session->NextFrame(), 0x79, 1), u"Yes"_s);
        QCOMPARE(gateway->SmsLines(), QStringList{u"SMS to +15551234567: ok"_s});
    }

    void framesOutOfTurnAreIgnoredOrClose() {
        const auto gateway = StartGateway();
        QVERIFY(gateway);
        const auto login = LogIn(gateway->Authorization(), DemoUin, DemoPassword);
        QVERIFY(login);
        OscarTestClient client;
        QVERIFY(client.Connect(gateway->Simulator.ServiceAddress()));
        QVERIFY(IsHello(client.NextFrame()));
        client.Send(SmsFrame(1, 1, "+15551234567", "before the cookie") +
                    Frame(1, 2, CookiePayload(login->Tlvs.value(0x0006))));
        const auto families = client.NextFrame();
        QVERIFY(families && families->Payload.startsWith(Hex("0001 0003")));
        client.Send(Frame(4, 3, {}) + SmsFrame(2, 2, "+15551234567", "after the close"));
        QVERIFY(client.WaitForServerClose());
        QVERIFY(gateway->SmsLines().isEmpty());
    }

    void garbageLeavesTheServersWorking() {
        const auto gateway = StartGateway({"--fragment"});
        QVERIFY(gateway);
        QRandomGenerator random(2024);
        QByteArray junk(70000, Qt::Uninitialized);
        // Plenty of start markers, so that the junk also reads as frames of every channel and length.
        std::generate(junk.begin(), junk.end(), [&random] {
            return random.bounded(4) == 0 ? '\x2A' : static_cast<char>(random.bounded(256));
        });
        const QByteArray malformed = Frame(1, 0, Hex("0000")) + Frame(1, 0, Hex("00000001 0001 0009 3130")) +
                                     Frame(1, 0, Hex("00000002") + Tlv(1, DemoUin)) +
                                     Frame(2, 0, Hex("0015 00")) + Frame(9, 0, Hex("FF")) +
                                     Frame(2, 0, SnacPayload(0x15, 2, 1, junk.first(300)));
        {
            OscarTestClient auth;
            QVERIFY(auth.Connect(gateway->Authorization()));
            auth.Send(malformed + junk);
            const auto session = OpenSession(gateway->Authorization());
            QVERIFY(session);
            session->Send(malformed + junk);
            QTest::qWait(50);
        }
        const auto session = OpenSession(gateway->Authorization());
        QVERIFY(session);
        session->Send(SmsFrame(5, 5, "+15551234567", "still here"));
        QCOMPARE(SmsReplyVerdict(session->NextFrame(), 5, 5), u"Yes"_s);
    }
};

QTEST_GUILESS_MAIN(GatewayConversationTest)
#include "GatewayConversationTest.moc"
