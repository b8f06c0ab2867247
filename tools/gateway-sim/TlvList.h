#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

namespace pagewing::sim {

// The TLVs of a packet in the order sent. Clients add TLVs we do not care about and may order them as they
// like, so lookups go by type.
class TlvList {
public:
    struct Tlv {
        quint16 Type = 0;
        QByteArray Value;
    };

    // Empty when a TLV header or value runs past the end of the bytes.
    static std::optional<TlvList> Parse(QByteArrayView bytes);

    // The first TLV of that type.
    std::optional<QByteArray> Find(quint16 type) const;
    const QList<Tlv>& Entries() const { return Items; }

private:
    QList<Tlv> Items;
};

} // namespace pagewing::sim
