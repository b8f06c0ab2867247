#pragma once

#include <QByteArray>

namespace pagewing::sim {

// What the gateway says about one SMS request, sent back as the body of a SNAC 15,03: TLV 1 holding an ICQ
// meta reply (type 0x07DA) whose little-endian header echoes the request's meta sequence number.
struct SmsResponse {
    static constexpr quint16 MetaReplyType = 0x07DA;
    static constexpr quint16 SmsReplySubtype = 0x0096;
    static constexpr quint8 SuccessResult = 0x0A;
    // What an ICQ-era server without an SMS gateway answers instead: a generic subtype, a failure result
    // and a zero-terminated text with no length before it.
    static constexpr quint16 RefusalSubtype = 0x0001;
    static constexpr quint8 RefusalResult = 0x46;
    static constexpr const char* RefusalText = "Sorry, but SMS messages not implemented yet...";

    quint32 AccountUin = 0;
    quint16 MetaSequence = 0;
    bool Deliverable = false;
    quint32 MessageId = 0;

    QByteArray ToSnacBody() const;
    static QByteArray RefusalSnacBody(quint32 accountUin, quint16 metaSequence);
};

} // namespace pagewing::sim
