#pragma once

#include <QByteArray>
#include <QString>

namespace pagewing::sim {

struct FlapFrame {
    static constexpr char StartMarker = 0x2A;
    static constexpr qsizetype HeaderSize = 6;
    static constexpr qsizetype LargestPayload = 0xFFFF;

    static constexpr quint8 LoginChannel = 1;
    static constexpr quint8 SnacChannel = 2;
    static constexpr quint8 CloseChannel = 4;
    static constexpr quint8 KeepAliveChannel = 5;

    quint8 Channel = 0;
    quint16 Sequence = 0;
    QByteArray Payload;

    QByteArray ToBytes() const;
    // One line for the --verbose log: the header, then what the payload holds as far as it can be read.
    QString Describe() const;
};

} // namespace pagewing::sim
