#include "gateway-sim/SmsResponse.h"

#include "gateway-sim/WireWriter.h"

#include <QString>

namespace pagewing::sim {

QByteArray SmsResponse::ToSnacBody() const {
    const QByteArray xml = QStringLiteral("<sms_response><source>pagewing-gateway-sim</source>"
                                          "<deliverable>%1</deliverable><network>Simulated network</network>"
                                          "<message_id>%2</message_id><messages_left>0</messages_left>"
                                          "</sms_response>")
                               .arg(Deliverable ? QStringLiteral("Yes") : QStringLiteral("No"))
                               .arg(MessageId)
                               .toLatin1();
    WireWriter meta;
    meta.AppendUInt32Le(AccountUin)
        .AppendUInt16Le(MetaReplyType)
        .AppendUInt16Le(MetaSequence)
        .AppendUInt16Le(SmsReplySubtype)
        .AppendUInt8(SuccessResult)
        .AppendUInt16(static_cast<quint16>(xml.size()))
        .AppendBytes(xml);
    WireWriter block;
    block.AppendUInt16Le(static_cast<quint16>(meta.Size())).AppendBytes(meta.Bytes());
    WireWriter body;
    body.AppendTlv(0x0001, block.Bytes());
    return body.Bytes();
}

} // namespace pagewing::sim
