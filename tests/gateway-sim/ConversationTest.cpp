// The simulator as its own process, spoken to by a bare FLAP client: what the client's loopback tests cannot
// see, such as the address a login reply names, who ends the login connection, and how many reports a flood
// holds.

#include "gateway-sim/TestPackets.h"

#include "support/GatewaySimProcess.h"

#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUrl>
#include <QtEndian>

using namespace pagewing::sim::test;
using pagewing::test::GatewaySimProcess;

namespace {

constexpr int Patience = 10000;
// "pagewing" as the login packet carries it, scrambled.
const QByteArray ScrambledPagewing = QByteArray::fromHex("8347E6A14EEFB5F5");
const QByteArray FlapVersion = QByteArray::fromHex("00000001");

// Blocking calls are enough, the server runs in another process. Its address comes as "HOST:PORT", with an
// IPv6 host in brackets.
struct FlapTestClient {
    explicit FlapTestClient(const QString& address) {
        const QUrl url(QStringLiteral("tcp://") + address);
        Socket.connectToHost(url.host(), static_cast<quint16>(url.port()));
    }

    // The payload of the next whole frame; empty when the stream ends first.
    QByteArray Next() {
        const auto frameSize = [this] {
            return Socket.bytesAvailable() < 6 ? 6
                                               : 6 + qFromBigEndian<quint16>(Socket.peek(6).constData() + 4);
        };
        while (Socket.bytesAvailable() < frameSize() && Socket.waitForReadyRead(Patience)) {
        }
        return Socket.bytesAvailable() < frameSize() ? QByteArray() : Socket.read(frameSize()).sliced(6);
    }

    // Sequence numbers stay 0, which the simulator does not check.
    void Send(const char channel, const QByteArray& payload) {
        Socket.write("*" + QByteArray(1, channel) + QByteArray(2, '\0') + Be16(payload.size()) + payload);
    }

    // Nothing more arrives, and the server closes the connection.
    bool EndedByServer() { return Next().isEmpty() && Socket.state() == QAbstractSocket::UnconnectedState; }

    QTcpSocket Socket;
};

// Logs in as 100200300 after the server's hello; the reply's TLVs by type.
QMap<quint16, QByteArray> LogIn(FlapTestClient& auth, const QByteArray& scrambledPassword) {
    auth.Next();
    auth.Send(1, FlapVersion + Tlv(0x0001, "100200300") + Tlv(0x0002, scrambledPassword));
    const auto reply = auth.Next();
    QMap<quint16, QByteArray> tlvs;
    for (qsizetype at = 0; at + 4 <= reply.size();) {
        const auto size = qFromBigEndian<quint16>(reply.constData() + at + 2);
        tlvs.insert(qFromBigEndian<quint16>(reply.constData() + at), reply.mid(at + 4, size));
        at += 4 + size;
    }
    return tlvs;
}

} // namespace

class GatewaySimConversationTest : public QObject {
    Q_OBJECT

private slots:
    void loginReplyNamesAnIpv6ServiceInBrackets() {
        if (!QTcpServer().listen(QHostAddress::LocalHostIPv6)) {
            QSKIP("no IPv6 loopback here");
        }
        GatewaySimProcess simulator({"--service", "[::1]:0"});
        QVERIFY(simulator.WaitUntilListening());
        FlapTestClient auth(simulator.Host + u':' + simulator.Port);
        const auto address = QString::fromLatin1(LogIn(auth, ScrambledPagewing).value(0x0005));
        QVERIFY2(address.startsWith(QStringLiteral("[::1]:")), qPrintable(address));
        QCOMPARE(address, simulator.ServiceAddress);
        QCOMPARE(FlapTestClient(address).Next(), FlapVersion);
    }

    // The client closes the login connection itself once it has the cookie (the loopback tests show that with
    // --keep-login-open), so only here does it show that the server closes it first, and a refused one even
    // when asked to keep logins open.
    void serverEndsTheLoginConnection() {
        for (const auto& [options, password] : {std::pair{QStringList{}, ScrambledPagewing},
                                                {QStringList{"--keep-login-open"}, QByteArray("wrong")}}) {
            GatewaySimProcess simulator(options);
            QVERIFY(simulator.WaitUntilListening());
            FlapTestClient auth(simulator.Host + u':' + simulator.Port);
            const auto reply = LogIn(auth, password);
            // The UIN, then the service address and cookie, or the error page and code.
            QCOMPARE(reply.keys(),
                     (password == ScrambledPagewing ? QList<quint16>{1, 5, 6} : QList<quint16>{1, 4, 8}));
            QVERIFY2(auth.EndedByServer(), qPrintable(options.join(u' ')));
        }
    }

    // More reports than one batch holds, so the batches must join up with none lost or repeated; the
    // connection closes only after the last.
    void floodIsExactlyTheReportsAsked() {
        constexpr int Reports = 25'000;
        GatewaySimProcess simulator({"--flood", QString::number(Reports), "--close-after-ready"});
        QVERIFY(simulator.WaitUntilListening());
        FlapTestClient auth(simulator.Host + u':' + simulator.Port);
        const auto reply = LogIn(auth, ScrambledPagewing);
        FlapTestClient service(QString::fromLatin1(reply.value(0x0005)));
        QCOMPARE(service.Next(), FlapVersion);
        service.Send(1, FlapVersion + Tlv(0x0006, reply.value(0x0006)));
        // Server ready (SNAC 01,03), then client ready (01,02); the reports are SNAC 15,03 with request id 0.
        QVERIFY(service.Next().startsWith(QByteArray::fromHex("0001 0003 0000 00000000")));
        service.Send(2, QByteArray::fromHex("0001 0002 0000 00000000"));
        int reports = 0;
        auto frame = service.Next();
        for (; frame.startsWith(QByteArray::fromHex("0015 0003 0000 00000000")); frame = service.Next()) {
            QVERIFY(frame.contains("<deliverable>Yes</deliverable>"));
            ++reports;
        }
        QCOMPARE(reports, Reports);
        QVERIFY(frame.isEmpty() && service.EndedByServer());
    }
};

QTEST_GUILESS_MAIN(GatewaySimConversationTest)
#include "ConversationTest.moc"
