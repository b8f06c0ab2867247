#pragma once

#include <QByteArrayView>
#include <QString>

namespace pagewing::sim {

// The body of a SNAC 15,02 that asks the gateway to send an SMS: TLV 1 holding an ICQ meta block, whose
// little-endian header names the request, followed by the XML document of the message.
struct SmsRequest {
    static constexpr quint16 MetaRequestType = 0x07D0;
    static constexpr quint16 SendSmsSubtype = 0x1482;

    static SmsRequest Parse(QByteArrayView snacBody);

    bool IsReadable() const { return Problem.isEmpty(); }

    quint32 SenderUin = 0;
    // Echoed in the reply; zero when the request is too short to carry it.
    quint16 MetaSequence = 0;
    QString Destination;
    QString Text;
    // Why the request cannot be read, for the log; empty when it can.
    QString Problem;
};

} // namespace pagewing::sim
