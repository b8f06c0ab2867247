#include "gateway-sim/SmsRequest.h"

#include "gateway-sim/CodePage1252.h"
#include "gateway-sim/FlatXmlDocument.h"
#include "gateway-sim/TlvList.h"
#include "gateway-sim/WireReader.h"

namespace pagewing::sim {

namespace {

constexpr qsizetype FixedBlockSize = 22;

// A 16-bit count (1), a 16-bit length (0x16) and a zero-filled value of that length; the gateway gives
// it no meaning but a request without it is not well formed.
QByteArray FixedBlock() {
    QByteArray block(FixedBlockSize, '\0');
    block[1] = 0x01;
    block[3] = 0x16;
    return block;
}

QString Hex(const quint32 value) {
    return QStringLiteral("0x%1").arg(value, 4, 16, QLatin1Char('0'));
}

} // namespace

SmsRequest SmsRequest::Parse(const QByteArrayView snacBody) {
    SmsRequest request;
    const auto refuse = [&request](const QString& problem) {
        request.Problem = problem;
        return request;
    };
    const auto tlvs = TlvList::Parse(snacBody);
    const auto meta = tlvs ? tlvs->Find(0x0001) : std::nullopt;
    if (!meta) {
        return refuse(QStringLiteral("no meta block (TLV 0x0001)"));
    }
    WireReader reader(*meta);
    const qsizetype declaredSize = reader.ReadUInt16Le();
    const auto followingSize = reader.Remaining();
    request.SenderUin = reader.ReadUInt32Le();
    const auto type = reader.ReadUInt16Le();
    const auto sequence = reader.ReadUInt16Le();
    const auto subtype = reader.ReadUInt16Le();
    if (!reader.Ok()) {
        return refuse(QStringLiteral("meta block shorter than its header"));
    }
    request.MetaSequence = sequence;
    if (declaredSize != followingSize) {
        return refuse(
            QStringLiteral("meta data size %1 but %2 bytes follow it").arg(declaredSize).arg(followingSize));
    }
    if (type != MetaRequestType) {
        return refuse(
            QStringLiteral("meta request type %1 instead of %2").arg(Hex(type), Hex(MetaRequestType)));
    }
    if (subtype != SendSmsSubtype) {
        return refuse(
            QStringLiteral("meta request subtype %1 instead of %2").arg(Hex(subtype), Hex(SendSmsSubtype)));
    }
    if (reader.ReadBytes(FixedBlockSize) != FixedBlock()) {
        return refuse(QStringLiteral("the 22 bytes after the subtype are not 00 01 00 16 and zeros"));
    }
    const qsizetype xmlLength = reader.ReadUInt16();
    if (!reader.Ok()) {
        return refuse(QStringLiteral("no XML length after the 22 bytes"));
    }
    if (xmlLength != reader.Remaining()) {
        return refuse(
            QStringLiteral("XML length %1 but %2 bytes follow it").arg(xmlLength).arg(reader.Remaining()));
    }
    const auto document = FlatXmlDocument::Parse(CodePage1252::Decode(reader.ReadRest()), u"icq_sms_message");
    if (!document) {
        return refuse(QStringLiteral("the XML document is not a well-formed <icq_sms_message>"));
    }
    const auto destination = document->Field(QStringLiteral("destination"));
    const auto text = document->Field(QStringLiteral("text"));
    if (!destination || !text) {
        return refuse(QStringLiteral("the XML document lacks <destination> or <text>"));
    }
    request.Destination = *destination;
    request.Text = *text;
    return request;
}

} // namespace pagewing::sim
