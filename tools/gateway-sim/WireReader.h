#pragma once

#include <QByteArrayView>

namespace pagewing::sim {

// Reads numbers and runs of bytes from untrusted input. A read past the end yields zero or an empty view
// and marks the reader failed for good, so a parser can read a whole structure and check Ok once.
class WireReader {
public:
    explicit WireReader(QByteArrayView data)
        : Data(data) {}

    quint8 ReadUInt8() { return static_cast<quint8>(ReadBigEndian(1)); }
    quint16 ReadUInt16() { return static_cast<quint16>(ReadBigEndian(2)); }
    quint32 ReadUInt32() { return ReadBigEndian(4); }
    quint16 ReadUInt16Le() { return static_cast<quint16>(ReadLittleEndian(2)); }
    quint32 ReadUInt32Le() { return ReadLittleEndian(4); }
    QByteArrayView ReadBytes(qsizetype count);
    QByteArrayView ReadRest() { return ReadBytes(Remaining()); }

    qsizetype Remaining() const { return Data.size() - Offset; }
    bool Ok() const { return !Overrun; }

private:
    quint32 ReadBigEndian(qsizetype count);
    quint32 ReadLittleEndian(qsizetype count);

    QByteArrayView Data;
    qsizetype Offset = 0;
    bool Overrun = false;
};

} // namespace pagewing::sim
