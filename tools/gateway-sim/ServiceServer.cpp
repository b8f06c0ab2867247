#include "gateway-sim/ServiceServer.h"

#include "gateway-sim/ClientConnection.h"
#include "gateway-sim/CookieRegistry.h"
#include "gateway-sim/Reporter.h"
#include "gateway-sim/SmsRequest.h"
#include "gateway-sim/SmsResponse.h"
#include "gateway-sim/Snac.h"
#include "gateway-sim/SnacBatcher.h"
#include "gateway-sim/TlvList.h"
#include "gateway-sim/WireReader.h"
#include "gateway-sim/WireWriter.h"

#include <array>

namespace pagewing::sim {

namespace {

constexpr quint16 BadCookieTlv = 0x0009;
// The log-off frame's TLVs: why, as a code and as text.
constexpr quint16 LogOffCodeTlv = 0x0009;
constexpr quint16 LogOffTextTlv = 0x000B;
constexpr quint16 AnotherLoginCode = 0x0001;
constexpr const char* AnotherLoginText = "New client with same uin connected";

constexpr quint16 GenericFamily = 0x0001;
constexpr quint16 ClientReadySubtype = 0x0002;
constexpr quint16 ServerReadySubtype = 0x0003;
constexpr quint16 SmsFamily = 0x0015;
constexpr quint16 ErrorSubtype = 0x0001;
constexpr quint16 RequestDenied = 0x000D;
constexpr quint16 SmsRequestSubtype = 0x0002;
constexpr quint16 SmsReplySubtype = 0x0003;

// Generic, location, buddy list, messaging, privacy, server-side lists and the ICQ extensions.
constexpr std::array<quint16, 7> ServedFamilies{0x0001, 0x0002, 0x0003, 0x0004, 0x0009, 0x0013, 0x0015};

std::optional<QByteArray> CookieOf(const QByteArray& payload) {
    WireReader reader(payload);
    const auto version = reader.ReadUInt32();
    const auto tlvs = TlvList::Parse(reader.ReadRest());
    if (!reader.Ok() || version != 1 || !tlvs) {
        return std::nullopt;
    }
    return tlvs->Find(CookieRegistry::CookieTlv);
}

} // namespace

ServiceServer::ServiceServer(const Options& options, CookieRegistry& cookies, Reporter& log)
    : FlapServer(QStringLiteral("service"), options.Fragment, true, log)
    , Cookies(cookies)
    , Delivery(options.Delivery)
    , Stall(options.StallService)
    , CloseAfterReady(options.CloseAfterReady)
    , DropAfterRequest(options.DropAfterRequest)
    , AnotherLogin(options.AnotherLogin)
    , Flood(options.Flood) {}

void ServiceServer::HandleFrame(ClientConnection& connection, const FlapFrame& frame) {
    const bool signedIn = connection.SignedInUin().has_value();
    if (frame.Channel == FlapFrame::LoginChannel && !signedIn) {
        HandleCookie(connection, frame.Payload);
        return;
    }
    if (frame.Channel != FlapFrame::SnacChannel) {
        return;
    }
    if (!signedIn) {
        Log.Note(QStringLiteral("%1: ignoring a SNAC sent before the cookie").arg(connection.Name()));
        return;
    }
    const auto snac = Snac::Parse(frame.Payload);
    if (!snac) {
        Log.Note(QStringLiteral("%1: ignoring a channel 2 frame shorter than a SNAC header")
                     .arg(connection.Name()));
    } else if (snac->Is(SmsFamily, SmsRequestSubtype)) {
        HandleSmsRequest(connection, *snac);
    } else if (snac->Is(GenericFamily, ClientReadySubtype)) {
        HandleClientReady(connection);
    }
}

void ServiceServer::HandleCookie(ClientConnection& connection, const QByteArray& payload) {
    const auto cookie = CookieOf(payload);
    const auto uin = cookie ? Cookies.Redeem(*cookie) : std::nullopt;
    if (!uin) {
        Log.Note(QStringLiteral("%1: refusing a cookie that was never issued or is already used")
                     .arg(connection.Name()));
        WireWriter refusal;
        refusal.AppendUInt16Tlv(BadCookieTlv, 0x0001);
        connection.Send(FlapFrame::CloseChannel, refusal.Bytes());
        connection.Close();
        return;
    }
    connection.SignIn(*uin);
    Log.Trace(QStringLiteral("%1: signed in as %2").arg(connection.Name()).arg(*uin));
    if (Stall) {
        Log.Trace(QStringLiteral("%1: never sending server ready").arg(connection.Name()));
        return;
    }
    WireWriter families;
    for (const auto family : ServedFamilies) {
        families.AppendUInt16(family);
    }
    connection.SendSnac({GenericFamily, ServerReadySubtype, 0, 0, families.Bytes()});
}

void ServiceServer::HandleClientReady(ClientConnection& connection) {
    Log.Trace(QStringLiteral("%1: client ready").arg(connection.Name()));
    if (AnotherLogin) {
        LogOffForAnotherLogin(connection);
        return;
    }
    const auto closeIfAsked = [this, &connection] {
        if (CloseAfterReady) {
            connection.Close();
        }
    };
    if (Flood == 0) {
        closeIfAsked();
        return;
    }
    Log.Trace(
        QStringLiteral("%1: sending %2 delivery reports nobody asked for").arg(connection.Name()).arg(Flood));
    // A child of the connection, which it cannot outlive.
    new SnacBatcher(
        connection, Flood, [this, &connection] { return UnaskedReport(connection); }, closeIfAsked);
}

void ServiceServer::LogOffForAnotherLogin(ClientConnection& connection) {
    Log.Trace(QStringLiteral("%1: logging the session off for another login, leaving the connection open")
                  .arg(connection.Name()));
    WireWriter farewell;
    farewell.AppendUInt16Tlv(LogOffCodeTlv, AnotherLoginCode).AppendTlv(LogOffTextTlv, AnotherLoginText);
    connection.Send(FlapFrame::CloseChannel, farewell.Bytes());
    connection.LogOff();
}

void ServiceServer::HandleSmsRequest(ClientConnection& connection, const Snac& request) {
    const auto account = *connection.SignedInUin();
    const auto sms = SmsRequest::Parse(request.Body);
    connection.RememberRequest(sms.MetaSequence);
    if (!sms.IsReadable()) {
        Log.Note(QStringLiteral("%1: unreadable SMS request: %2").arg(connection.Name(), sms.Problem));
        SendAnswer(connection, Delivery.AnswerForUnreadable(), request, sms.MetaSequence);
        return;
    }
    Log.ReportSms(sms.Destination, sms.Text);
    if (DropAfterRequest) {
        Log.Trace(QStringLiteral("%1: closing without an answer").arg(connection.Name()));
        connection.Close();
        return;
    }
    if (sms.SenderUin != account) {
        Log.Note(QStringLiteral("%1: the SMS request names sender %2, but the session belongs to %3")
                     .arg(connection.Name())
                     .arg(sms.SenderUin)
                     .arg(account));
    }
    const auto answer = Delivery.AnswerFor(sms.Destination);
    // Before the bytes go: a client that calls a message delivered must find this line for it.
    if (Log.IsVerbose() && answer == DeliveryPolicy::Answer::Deliverable && !connection.IsLoggedOff()) {
        Log.Trace(QStringLiteral("%1: answered deliverable: %2")
                      .arg(connection.Name(), Reporter::EscapeForOneLine(sms.Text)));
    }
    SendAnswer(connection, answer, request, sms.MetaSequence);
}

void ServiceServer::SendAnswer(ClientConnection& connection, const DeliveryPolicy::Answer answer,
                               const Snac& request, const quint16 metaSequence) {
    const auto account = *connection.SignedInUin();
    QByteArray body;
    // A session logged off is denied everything, whatever the gateway would have said.
    switch (connection.IsLoggedOff() ? DeliveryPolicy::Answer::Denial : answer) {
    case DeliveryPolicy::Answer::Deliverable:
    case DeliveryPolicy::Answer::NotDeliverable:
        body =
            SmsResponse{account, metaSequence, answer == DeliveryPolicy::Answer::Deliverable, ++MessageCount}
                .ToSnacBody();
        break;
    case DeliveryPolicy::Answer::Refusal:
        body = SmsResponse::RefusalSnacBody(account, metaSequence);
        break;
    case DeliveryPolicy::Answer::None:
        Log.Trace(QStringLiteral("%1: leaving the SMS request unanswered").arg(connection.Name()));
        return;
    case DeliveryPolicy::Answer::Denial:
        connection.SendSnac({SmsFamily, ErrorSubtype, 0, request.RequestId,
                             WireWriter().AppendUInt16(RequestDenied).Bytes()});
        return;
    }
    connection.SendSnac({SmsFamily, SmsReplySubtype, 0, request.RequestId, body});
}

Snac ServiceServer::UnaskedReport(const ClientConnection& connection) {
    // Request id 0 and a meta sequence number no request used: the report answers nothing the client sent.
    const SmsResponse report{*connection.SignedInUin(), connection.NumberNoRequestUsed(), true,
                             ++MessageCount};
    return {SmsFamily, SmsReplySubtype, 0, 0, report.ToSnacBody()};
}

} // namespace pagewing::sim
