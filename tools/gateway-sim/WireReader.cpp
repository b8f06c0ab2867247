#include "gateway-sim/WireReader.h"

namespace pagewing::sim {

QByteArrayView WireReader::ReadBytes(const qsizetype count) {
    if (count < 0 || count > Remaining()) {
        Overrun = true;
        Offset = Data.size();
        return {};
    }
    const auto bytes = Data.sliced(Offset, count);
    Offset += count;
    return bytes;
}

quint32 WireReader::ReadBigEndian(const qsizetype count) {
    quint32 value = 0;
    for (const char byte : ReadBytes(count)) {
        value = (value << 8) | static_cast<quint8>(byte);
    }
    return value;
}

quint32 WireReader::ReadLittleEndian(const qsizetype count) {
    quint32 value = 0;
    int shift = 0;
    for (const char byte : ReadBytes(count)) {
        value |= static_cast<quint32>(static_cast<quint8>(byte)) << shift;
        shift += 8;
    }
    return value;
}

} // namespace pagewing::sim
