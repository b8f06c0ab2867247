#include "gateway-sim/FlapFrame.h"

#include "gateway-sim/Snac.h"
#include "gateway-sim/TlvList.h"
#include "gateway-sim/WireReader.h"
#include "gateway-sim/WireWriter.h"

#include <QStringList>

namespace pagewing::sim {

namespace {

QString Hex(const quint32 value, const int digits) {
    return QStringLiteral("0x%1").arg(value, digits, 16, QLatin1Char('0'));
}

QString DescribeTlvTypes(const QByteArrayView bytes) {
    const auto tlvs = TlvList::Parse(bytes);
    if (!tlvs) {
        return QStringLiteral("unreadable TLVs");
    }
    QStringList types;
    for (const auto& tlv : tlvs->Entries()) {
        types.append(Hex(tlv.Type, 4));
    }
    return QStringLiteral("TLVs [%1]").arg(types.join(QLatin1Char(' ')));
}

QString DescribePayload(const quint8 channel, const QByteArray& payload) {
    switch (channel) {
    case FlapFrame::LoginChannel: {
        WireReader reader(payload);
        const auto version = reader.ReadUInt32();
        if (!reader.Ok()) {
            return QStringLiteral("no FLAP version");
        }
        return QStringLiteral("version %1, %2").arg(version).arg(DescribeTlvTypes(reader.ReadRest()));
    }
    case FlapFrame::SnacChannel: {
        const auto snac = Snac::Parse(payload);
        if (!snac) {
            return QStringLiteral("shorter than a SNAC header");
        }
        return QStringLiteral("SNAC %1,%2 flags %3 request %4")
            .arg(Hex(snac->Family, 4), Hex(snac->Subtype, 4), Hex(snac->Flags, 4), Hex(snac->RequestId, 8));
    }
    case FlapFrame::CloseChannel:
        return DescribeTlvTypes(payload);
    case FlapFrame::KeepAliveChannel:
        return QStringLiteral("keep-alive");
    default:
        return QStringLiteral("unknown channel");
    }
}

} // namespace

QByteArray FlapFrame::ToBytes() const {
    Q_ASSERT(Payload.size() <= LargestPayload);
    WireWriter writer;
    writer.AppendUInt8(static_cast<quint8>(StartMarker))
        .AppendUInt8(Channel)
        .AppendUInt16(Sequence)
        .AppendUInt16(static_cast<quint16>(Payload.size()))
        .AppendBytes(Payload);
    return writer.Bytes();
}

QString FlapFrame::Describe() const {
    return QStringLiteral("channel %1, sequence %2, length %3: %4")
        .arg(static_cast<int>(Channel))
        .arg(Hex(Sequence, 4))
        .arg(Payload.size())
        .arg(DescribePayload(Channel, Payload));
}

} // namespace pagewing::sim
