#include "gateway-sim/WireWriter.h"

namespace pagewing::sim {

WireWriter& WireWriter::AppendUInt8(const quint8 value) {
    Buffer.append(static_cast<char>(value));
    return *this;
}

WireWriter& WireWriter::AppendUInt16(const quint16 value) {
    return AppendUInt8(static_cast<quint8>(value >> 8)).AppendUInt8(static_cast<quint8>(value));
}

WireWriter& WireWriter::AppendUInt32(const quint32 value) {
    return AppendUInt16(static_cast<quint16>(value >> 16)).AppendUInt16(static_cast<quint16>(value));
}

WireWriter& WireWriter::AppendUInt16Le(const quint16 value) {
    return AppendUInt8(static_cast<quint8>(value)).AppendUInt8(static_cast<quint8>(value >> 8));
}

WireWriter& WireWriter::AppendUInt32Le(const quint32 value) {
    return AppendUInt16Le(static_cast<quint16>(value)).AppendUInt16Le(static_cast<quint16>(value >> 16));
}

WireWriter& WireWriter::AppendBytes(const QByteArrayView bytes) {
    Buffer.append(bytes);
    return *this;
}

WireWriter& WireWriter::AppendTlv(const quint16 type, const QByteArrayView value) {
    Q_ASSERT(value.size() <= 0xFFFF);
    return AppendUInt16(type).AppendUInt16(static_cast<quint16>(value.size())).AppendBytes(value);
}

WireWriter& WireWriter::AppendUInt16Tlv(const quint16 type, const quint16 value) {
    return AppendUInt16(type).AppendUInt16(2).AppendUInt16(value);
}

} // namespace pagewing::sim
