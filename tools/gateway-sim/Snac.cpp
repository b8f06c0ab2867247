#include "gateway-sim/Snac.h"

#include "gateway-sim/WireReader.h"
#include "gateway-sim/WireWriter.h"

namespace pagewing::sim {

std::optional<Snac> Snac::Parse(const QByteArrayView payload) {
    WireReader reader(payload);
    Snac snac;
    snac.Family = reader.ReadUInt16();
    snac.Subtype = reader.ReadUInt16();
    snac.Flags = reader.ReadUInt16();
    snac.RequestId = reader.ReadUInt32();
    if (!reader.Ok()) {
        return std::nullopt;
    }
    snac.Body = reader.ReadRest().toByteArray();
    return snac;
}

QByteArray Snac::ToBytes() const {
    WireWriter writer;
    writer.AppendUInt16(Family).AppendUInt16(Subtype).AppendUInt16(Flags).AppendUInt32(RequestId).AppendBytes(
        Body);
    return writer.Bytes();
}

} // namespace pagewing::sim
