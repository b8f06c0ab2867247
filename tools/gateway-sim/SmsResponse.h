#pragma once

#include <QByteArray>

namespace pagewing::sim {

// What the gateway says about one SMS request, sent back as the body of a SNAC 15,03.
struct SmsResponse {
    static constexpr quint16 MetaReplyType = 0x07DA;
    static constexpr quint16 SmsReplySubtype = 0x0096;
    static constexpr quint8 SuccessResult = 0x0A;

    quint32 AccountUin = 0;
    quint16 MetaSequence = 0;
    bool Deliverable = false;
    quint32 MessageId = 0;

    QByteArray ToSnacBody() const;
};

} // namespace pagewing::sim
