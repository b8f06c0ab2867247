#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace pagewing::sim {

struct Snac {
    static constexpr qsizetype HeaderSize = 10;

    quint16 Family = 0;
    quint16 Subtype = 0;
    quint16 Flags = 0;
    quint32 RequestId = 0;
    QByteArray Body;

    // Empty when the payload is shorter than a SNAC header.
    static std::optional<Snac> Parse(QByteArrayView payload);
    QByteArray ToBytes() const;

    bool Is(const quint16 family, const quint16 subtype) const {
        return Family == family && Subtype == subtype;
    }
};

} // namespace pagewing::sim
