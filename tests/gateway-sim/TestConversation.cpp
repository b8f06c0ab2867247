#include "gateway-sim/TestConversation.h"

#include "gateway-sim/TestPackets.h"

#include <QRegularExpression>

namespace pagewing::sim::test {

bool IsHello(const std::optional<ReceivedFrame>& frame) {
    return frame && frame->Channel == 1 && frame->Payload == Hex("00000001");
}

std::optional<LoginResult> LogIn(const Endpoint& authorization, const QByteArray& uin,
                                 const QByteArray& password, const bool byteByByte) {
    OscarTestClient client(byteByByte);
    if (!client.Connect(authorization)) {
        return std::nullopt;
    }
    const auto hello = client.NextFrame();
    if (!IsHello(hello)) {
        return std::nullopt;
    }
    client.Send(Frame(1, 0x0100, LoginPayload(uin, password)));
    const auto reply = client.NextFrame();
    const auto tlvs = reply ? ReadTlvs(reply->Payload) : std::nullopt;
    if (!tlvs) {
        return std::nullopt;
    }
    return LoginResult{hello->Sequence, *reply, *tlvs, client.WaitForServerClose()};
}

std::unique_ptr<OscarTestClient> OpenSession(const Endpoint& authorization, const bool byteByByte) {
    const auto login = LogIn(authorization, DemoUin, DemoPassword);
    const auto service =
        login ? Endpoint::Parse(QString::fromLatin1(login->Tlvs.value(0x0005))) : std::nullopt;
    if (!service || !login->Tlvs.contains(0x0006)) {
        return nullptr;
    }
    auto client = std::make_unique<OscarTestClient>(byteByByte);
    if (!client->Connect(*service) || !IsHello(client->NextFrame())) {
        return nullptr;
    }
    client->Send(Frame(1, 0x0200, CookiePayload(login->Tlvs.value(0x0006))));
    const auto families = client->NextFrame();
    if (!families || families->Channel != 2 || !families->Payload.startsWith(Hex("0001 0003"))) {
        return nullptr;
    }
    return client;
}

QByteArray SmsFrame(const quint32 requestId, const quint16 metaSequence, const QByteArray& destination,
                    const QByteArray& text) {
    return Frame(2, static_cast<quint16>(requestId),
                 SnacPayload(0x0015, 0x0002, requestId,
                             SmsRequestBody(100200300, metaSequence, SmsDocument(destination, text))));
}

QString SmsReplyVerdict(const std::optional<ReceivedFrame>& frame, const quint32 requestId,
                        const quint16 metaSequence) {
    if (!frame || frame->Channel != 2 ||
        !frame->Payload.startsWith(SnacPayload(0x0015, 0x0003, requestId, {}))) {
        return {};
    }
    const auto tlvs = ReadTlvs(frame->Payload.sliced(10));
    const auto meta = tlvs && tlvs->size() == 1 ? tlvs->value(0x0001) : QByteArray();
    const auto size = static_cast<quint16>(meta.size());
    if (meta.size() < 15 || meta.first(15) != Le16(size - 2) + Le32(100200300) + Hex("DA07") +
                                                  Le16(metaSequence) + Hex("9600 0A") +
                                                  Be16(static_cast<quint16>(size - 15))) {
        return {};
    }
    static const QRegularExpression Shape(
        "^<sms_response><source>pagewing-gateway-sim</source><deliverable>(Yes|No)</deliverable>"
        "<network>Simulated network</network><message_id>\\d+</message_id><messages_left>0</messages_left>"
        "</sms_response>$");
    return Shape.match(QString::fromLatin1(meta.sliced(15))).captured(1);
}

} // namespace pagewing::sim::test
