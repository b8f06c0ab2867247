#include "gateway-sim/TlvList.h"

#include "gateway-sim/WireReader.h"

namespace pagewing::sim {

std::optional<TlvList> TlvList::Parse(const QByteArrayView bytes) {
    TlvList list;
    WireReader reader(bytes);
    while (reader.Remaining() > 0) {
        const auto type = reader.ReadUInt16();
        const auto length = reader.ReadUInt16();
        const auto value = reader.ReadBytes(length);
        if (!reader.Ok()) {
            return std::nullopt;
        }
        list.Items.append({type, value.toByteArray()});
    }
    return list;
}

std::optional<QByteArray> TlvList::Find(const quint16 type) const {
    for (const auto& tlv : Items) {
        if (tlv.Type == type) {
            return tlv.Value;
        }
    }
    return std::nullopt;
}

} // namespace pagewing::sim
