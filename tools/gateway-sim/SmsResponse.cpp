#include "gateway-sim/SmsResponse.h"

#include "gateway-sim/WireWriter.h"

#include <QString>

#include <cstring>

namespace pagewing::sim {

namespace {

// The meta reply's header, then the data as given.
QByteArray MetaReplySnacBody(const quint32 accountUin, const quint16 metaSequence, const quint16 subtype,
                             const quint8 result, const QByteArrayView data) {
    WireWriter meta;
    meta.AppendUInt32Le(accountUin)
        .AppendUInt16Le(SmsResponse::MetaReplyType)
        .AppendUInt16Le(metaSequence)
        .AppendUInt16Le(subtype)
        .AppendUInt8(result)
        .AppendBytes(data);
    WireWriter block;
    block.AppendUInt16Le(static_cast<quint16>(meta.Size())).AppendBytes(meta.Bytes());
    WireWriter body;
    body.AppendTlv(0x0001, block.Bytes());
    return body.Bytes();
}

} // namespace

QByteArray SmsResponse::ToSnacBody() const {
    const QByteArray xml = QStringLiteral("<sms_response><source>pagewing-gateway-sim</source>"
                                          "<deliverable>%1</deliverable><network>Simulated network</network>"
                                          "<message_id>%2</message_id><messages_left>0</messages_left>"
                                          "</sms_response>")
                               .arg(Deliverable ? QStringLiteral("Yes") : QStringLiteral("No"))
                               .arg(MessageId)
                               .toLatin1();
    WireWriter data;
    data.AppendUInt16(static_cast<quint16>(xml.size())).AppendBytes(xml);
    return MetaReplySnacBody(AccountUin, MetaSequence, SmsReplySubtype, SuccessResult, data.Bytes());
}

QByteArray SmsResponse::RefusalSnacBody(const quint32 accountUin, const quint16 metaSequence) {
    // The terminating zero is part of the text on the wire.
    const QByteArrayView text(RefusalText, static_cast<qsizetype>(std::strlen(RefusalText)) + 1);
    return MetaReplySnacBody(accountUin, metaSequence, RefusalSubtype, RefusalResult, text);
}

} // namespace pagewing::sim
