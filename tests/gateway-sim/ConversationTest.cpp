// The simulator as its own process, spoken to by a bare FLAP client: what only shows on a connection, such as
// the address a login reply names, who ends the login connection, and how many reports a flood holds.

#include "gateway-sim/TestPackets.h"

#include "support/GatewaySimProcess.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <optional>

using namespace pagewing::sim::test;
using pagewing::test::GatewaySimProcess;

namespace {

constexpr int Patience = 10000;

struct Received {
    quint8 Channel = 0;
    QByteArray Payload;

    bool IsSnac(const quint16 family, const quint16 subtype) const {
        return Channel == 2 && Payload.startsWith(Be16(family) + Be16(subtype));
    }
    quint32 SnacRequestId() const { return Payload.mid(6, 4).toHex().toUInt(nullptr, 16); }
};

// Blocking calls are enough: the server runs in another process.
class FlapTestClient {
public:
    bool Connect(const QString& address) {
        // The last ':' separates the port; an IPv6 host comes in brackets.
        const auto colon = address.lastIndexOf(u':');
        auto host = address.first(colon);
        if (host.startsWith(u'[')) {
            host = host.sliced(1, host.size() - 2);
        }
        Socket.connectToHost(host, address.sliced(colon + 1).toUShort());
        return Socket.waitForConnected(Patience);
    }

    // The next whole frame; empty when the stream ends first or stops making sense.
    std::optional<Received> Next() {
        const auto header = Read(6);
        if (!header || header->at(0) != 0x2A) {
            return std::nullopt;
        }
        const auto payload =
            Read(static_cast<quint8>(header->at(4)) << 8 | static_cast<quint8>(header->at(5)));
        if (!payload) {
            return std::nullopt;
        }
        return Received{static_cast<quint8>(header->at(1)), *payload};
    }

    void Send(const quint8 channel, const QByteArray& payload) {
        Socket.write(Frame(channel, Sequence++, payload));
        Socket.flush();
    }

    bool EndedByServer() {
        return Socket.state() == QAbstractSocket::UnconnectedState || Socket.waitForDisconnected(Patience);
    }

    void Close() {
        Socket.disconnectFromHost();
        EndedByServer();
    }

private:
    std::optional<QByteArray> Read(const qsizetype size) {
        QByteArray bytes;
        while (bytes.size() < size) {
            if (Socket.bytesAvailable() == 0 && !Socket.waitForReadyRead(Patience)) {
                return std::nullopt;
            }
            bytes += Socket.read(size - bytes.size());
        }
        return bytes;
    }

    QTcpSocket Socket;
    quint16 Sequence = 0;
};

// Logs in on a fresh connection; the reply's TLVs by type, empty when there was no reply.
QMap<quint16, QByteArray> LogIn(FlapTestClient& auth, const GatewaySimProcess& simulator,
                                const QByteArray& password) {
    if (!auth.Connect(simulator.Host + u':' + simulator.Port) || !auth.Next()) {
        return {};
    }
    auth.Send(1, LoginPayload("100200300", password));
    const auto reply = auth.Next();
    return reply ? ReadTlvs(reply->Payload).value_or(QMap<quint16, QByteArray>{})
                 : QMap<quint16, QByteArray>{};
}

} // namespace

class GatewaySimConversationTest : public QObject {
    Q_OBJECT

private slots:
    void loginReplyNamesAnIpv6ServiceInBrackets() {
        if (!QTcpServer().listen(QHostAddress::LocalHostIPv6)) {
            QSKIP("no IPv6 loopback here");
        }
        GatewaySimProcess simulator({QStringLiteral("--service"), QStringLiteral("[::1]:0")});
        QVERIFY(simulator.WaitUntilListening());
        QVERIFY(simulator.ServiceAddress.startsWith(QStringLiteral("[::1]:")));
        FlapTestClient auth;
        const auto reply = LogIn(auth, simulator, "pagewing");
        QCOMPARE(QString::fromLatin1(reply.value(0x0005)), simulator.ServiceAddress);
        FlapTestClient service;
        QVERIFY(service.Connect(simulator.ServiceAddress));
        const auto hello = service.Next();
        QVERIFY(hello && hello->Channel == 1);
    }

    void whoEndsTheLoginConnection_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<bool>("serverCloses");
        const QStringList keepOpen{QStringLiteral("--keep-login-open")};
        QTest::newRow("accepted") << QStringList{} << QByteArray("pagewing") << true;
        QTest::newRow("accepted, kept open") << keepOpen << QByteArray("pagewing") << false;
        QTest::newRow("refused, kept open") << keepOpen << QByteArray("wrong") << true;
    }

    void whoEndsTheLoginConnection() {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, password);
        QFETCH(bool, serverCloses);
        GatewaySimProcess simulator(options);
        QVERIFY(simulator.WaitUntilListening());
        FlapTestClient auth;
        const auto reply = LogIn(auth, simulator, password);
        QVERIFY(reply.contains(0x0001));
        QCOMPARE(reply.contains(0x0006), password == "pagewing");
        if (serverCloses) {
            QVERIFY(auth.EndedByServer());
        } else {
            auth.Close();
            QTRY_VERIFY_WITH_TIMEOUT(
                simulator.HasNote(QStringLiteral("auth#1: the client closed the connection")), Patience);
        }
    }

    void floodIsExactlyTheReportsAsked_data() {
        QTest::addColumn<bool>("closeAfterReady");
        QTest::newRow("then the answer to a request") << false;
        QTest::newRow("then the close") << true;
    }

    // More reports than one batch holds, so the batches must join up with none lost or repeated.
    void floodIsExactlyTheReportsAsked() {
        QFETCH(bool, closeAfterReady);
        constexpr int Reports = 25'000;
        QStringList options{QStringLiteral("--flood"), QString::number(Reports)};
        if (closeAfterReady) {
            options << QStringLiteral("--close-after-ready");
        }
        GatewaySimProcess simulator(options);
        QVERIFY(simulator.WaitUntilListening());
        FlapTestClient auth;
        const auto reply = LogIn(auth, simulator, "pagewing");
        FlapTestClient service;
        QVERIFY(service.Connect(QString::fromLatin1(reply.value(0x0005))));
        QVERIFY(service.Next());
        service.Send(1, CookiePayload(reply.value(0x0006)));
        const auto serverReady = service.Next();
        QVERIFY(serverReady && serverReady->IsSnac(0x0001, 0x0003));
        service.Send(2, SnacPayload(0x0001, 0x0002, 0, {}));

        int reports = 0;
        auto frame = service.Next();
        for (; frame && frame->IsSnac(0x0015, 0x0003) && frame->SnacRequestId() == 0;
             frame = service.Next()) {
            QVERIFY(frame->Payload.contains("<deliverable>Yes</deliverable>"));
            if (++reports == Reports && !closeAfterReady) {
                service.Send(2, SnacPayload(0x0015, 0x0002, 0x1234,
                                            SmsRequestBody(100200300, 7, SmsDocument("+15551234567", "Hi"))));
            }
        }
        QCOMPARE(reports, Reports);
        if (closeAfterReady) {
            QVERIFY(!frame);
            QVERIFY(service.EndedByServer());
        } else {
            QVERIFY(frame && frame->IsSnac(0x0015, 0x0003));
            QCOMPARE(frame->SnacRequestId(), 0x1234u);
        }
    }
};

QTEST_GUILESS_MAIN(GatewaySimConversationTest)
#include "ConversationTest.moc"
