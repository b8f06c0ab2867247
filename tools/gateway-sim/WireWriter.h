#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace pagewing::sim {

// Builds the simulator's outgoing bytes. OSCAR is big-endian except inside the ICQ meta blocks of the
// SMS gateway, which inherited the little-endian order of the older ICQ protocol, so both orders are here.
class WireWriter {
public:
    WireWriter& AppendUInt8(quint8 value);
    WireWriter& AppendUInt16(quint16 value);
    WireWriter& AppendUInt32(quint32 value);
    WireWriter& AppendUInt16Le(quint16 value);
    WireWriter& AppendUInt32Le(quint32 value);
    WireWriter& AppendBytes(QByteArrayView bytes);
    // A value longer than 65535 bytes cannot be described by the 16-bit length field.
    WireWriter& AppendTlv(quint16 type, QByteArrayView value);
    WireWriter& AppendUInt16Tlv(quint16 type, quint16 value);

    const QByteArray& Bytes() const { return Buffer; }
    qsizetype Size() const { return Buffer.size(); }

private:
    QByteArray Buffer;
};

} // namespace pagewing::sim
