#include "session/SMSSender.h"

#include "bytes/Windows1252.h"
#include "oscar/MetaReply.h"
#include "oscar/OscarProtocol.h"
#include "oscar/SnacError.h"
#include "session/GlobalSettings.h"
#include "session/ServerCodes.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>
#include <utility>
#include <variant>

namespace pagewing {

namespace {

constexpr std::u16string_view NotSendable = u" holds a character that cannot be sent (Windows-1252 only)";

constexpr std::u16string_view ConnectionError = u"Connection error, must reconnect";

constexpr std::string_view DeliveredMarker = "<deliverable>yes</deliverable>";
constexpr std::string_view NotDeliveredMarker = "<deliverable>no</deliverable>";

bool IsHello(const SplitSNAC& reader) {
    return reader.GetChannelID() == Oscar::LoginChannel && reader.GetTLVEnumSize() == 1 &&
           reader.GetTLVID(0) == 0;
}

bool IsBlank(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c == u' ' || c == u'\t'; });
}

bool IsPortNumber(std::u16string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
        return false;
    }
    int port = 0;
    for (const auto digit : text) {
        port = port * 10 + (digit - u'0');
    }
    return port >= 1 && port <= 65535;
}

std::u16string Unsendable(std::u16string_view field) {
    return std::u16string(field) + std::u16string(NotSendable);
}

// The host and port of a service address: "host:port" splits at its first colon, "[v6 address]:port" after
// the closing bracket.
std::optional<std::pair<std::u16string, std::u16string>> SplitAddress(const std::u16string& address) {
    if (address.starts_with(u'[')) {
        const auto close = address.find(u"]:");
        if (close == std::u16string::npos) {
            return std::nullopt;
        }
        return std::pair{address.substr(1, close - 1), address.substr(close + 2)};
    }
    const auto colon = address.find(u':');
    if (colon == std::u16string::npos) {
        return std::nullopt;
    }
    return std::pair{address.substr(0, colon), address.substr(colon + 1)};
}

std::u16string JoinAddress(const std::u16string& host, const std::u16string& port) {
    const bool bracketed = host.find(u':') != std::u16string::npos;
    return (bracketed ? u"[" + host + u"]" : host) + u":" + port;
}

constexpr std::size_t LongestServerText = 120;

SessionEnd LostWith(std::u16string_view line) {
    return {SessionFailure::ConnectionLost, std::u16string(line), 0, {}};
}

// The value of the last TLV of this type in the frame; none when there is none, or when it claims more bytes
// than the frame holds.
std::optional<std::vector<std::uint8_t>> TlvValue(const SplitSNAC& reader, std::int32_t type) {
    const auto index = reader.IsTLVPresent(type);
    if (index < 0) {
        return std::nullopt;
    }
    try {
        return reader.GetTLVDataByteArray(index);
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

// An error code as a TLV carries it: a big-endian number of one to four bytes.
std::optional<std::uint32_t> CodeOf(const std::optional<std::vector<std::uint8_t>>& value) {
    if (!value || value->empty() || value->size() > 4) {
        return std::nullopt;
    }
    std::uint32_t code = 0;
    for (const auto byte : *value) {
        code = code << 8 | byte;
    }
    return code;
}

std::u16string TextOf(const std::optional<std::vector<std::uint8_t>>& value) {
    return value ? Windows1252::PrintableText(*value, LongestServerText) : std::u16string();
}

// The socket's own description names no server; with two servers in a login the user needs to know which
// one refused or could not be found.
std::u16string NamingTheAddress(const std::u16string& description, const std::u16string& address) {
    if (address.empty()) {
        return description;
    }
    return description == u"Connection refused" ? description + u" by " + address
                                                : description + u": " + address;
}

std::u16string RefusalLine(const MetaReply& reply) {
    constexpr std::u16string_view HexDigits = u"0123456789ABCDEF";
    const std::u16string code{u'0', u'x', HexDigits[reply.Result >> 4], HexDigits[reply.Result & 0x0F]};
    const auto line = u"Message was not delivered: the server refused it (code " + code + u")";
    const auto text = reply.PrintableText(LongestServerText);
    return text.empty() ? line : line + u": " + text;
}

// What an answer says. Only the XML of an SMS response (result 0x0A) carries the deliverable markers; the
// text of a refusal is the server's own, shown as it is and never searched, or a server could fake a
// delivery.
std::pair<SmsOutcome, std::vector<std::u16string>> Judge(const MetaReply& reply) {
    if (reply.Result != Oscar::MetaSuccess) {
        return {SmsOutcome::Refused, {RefusalLine(reply)}};
    }
    const bool delivered = reply.DataHolds(DeliveredMarker);
    const bool notDelivered = reply.DataHolds(NotDeliveredMarker);
    if (!delivered && !notDelivered) {
        return {SmsOutcome::NoResult, {u"The SMS gateway answered without a delivery result"}};
    }
    std::vector<std::u16string> messages;
    if (delivered) {
        messages.emplace_back(u"Message successfully delivered");
    }
    if (notDelivered) {
        messages.emplace_back(u"Message was not delivered");
    }
    return {notDelivered ? SmsOutcome::NotDelivered : SmsOutcome::Delivered, messages};
}

} // namespace

SMSSender::SMSSender(SessionSocket& WinsockCtrl1, SessionSocket& WinsockCtrl2, const StatusClock& clock,
                     SessionTimerFactory& timers, SMSSenderEvents& events)
    : Winsock1(WinsockCtrl1)
    , Winsock2(WinsockCtrl2)
    , Clock(clock)
    , Timers(timers)
    , Events(events)
    , ConnectTimer(timers.CreateTimer([this] { ConnectTimedOut(); }))
    , LoginTimer(timers.CreateTimer([this] { LoginTimedOut(); })) {
    CreateObjects();
    Winsock1.SetEventHandlers({[this] { Winsock1_Connected(); },
                               [this](auto data) { Winsock1_DataArrival(data); },
                               [this](const auto& description) { Winsock1_Error(description); },
                               [this] {
                                   Winsock1_Closed();
                               }});
    Winsock2.SetEventHandlers({[this] { Winsock2_Connected(); },
                               [this](auto data) { Winsock2_DataArrival(data); },
                               [this](const auto& description) { Winsock2_Error(description); },
                               [this] {
                                   Winsock2_Closed();
                               }});
}

SMSSender::~SMSSender() {
    DestroyObjects();
    Winsock1.SetEventHandlers({});
    Winsock2.SetEventHandlers({});
}

void SMSSender::ConnectReconnect(const std::u16string& LoginURL, const std::u16string& LoginPort) {
    DestroyObjects();
    CreateObjects();
    if (!RaiseNotReady()) {
        return;
    }
    if (IsBlank(LoginURL)) {
        Fail(u"Login server name is empty", SessionFailure::AccountRefused);
    } else if (!IsPortNumber(LoginPort)) {
        Fail(u"Login port must be a whole number from 1 to 65535", SessionFailure::AccountRefused);
    } else {
        LoggingIn = true;
        StartConnecting(Winsock1, LoginURL, LoginPort);
    }
}

SendAttempt SMSSender::SendSMSMessage(const std::u16string& MobilNumber, const std::u16string& Message,
                                      const std::u16string& CodePage, const std::u16string& UIN,
                                      const std::u16string& Sender, const std::u16string& DeliveryReceipt,
                                      RequestTag tag) {
    // Before client ready the server would take the request for part of the login, or drop it unanswered.
    if (!LoggedIn) {
        return NotSent(tag, SendAttempt::Kind::NotConnected, u"Not logged in yet: the message was not sent");
    }
    const auto request = BuildSmsRequest(MobilNumber, Message, CodePage, UIN, Sender, DeliveryReceipt);
    if (const auto* problem = std::get_if<std::u16string>(&request)) {
        return NotSent(tag, SendAttempt::Kind::NotBuilt, *problem);
    }
    // The number the gateway's answer echoes: the request counter's low 16 bits, as the request carries it.
    const auto sequence = static_cast<std::uint16_t>(Channel2Builder->GetSMSRequestCounter() & 0xFFFF);
    if (!SendDataWinsock2(std::get<std::vector<std::uint8_t>>(request))) {
        return {SendAttempt::Kind::NotConnected, std::u16string(ConnectionError)};
    }
    WaitForAnswer(tag, static_cast<std::uint32_t>(Channel2::UinToNumber(UIN)), sequence);
    ReportRequest(tag, u"Sending message");
    return {};
}

SendAttempt SMSSender::NotSent(RequestTag tag, SendAttempt::Kind kind, std::u16string_view reason) {
    ReportRequest(tag, reason);
    return {kind, std::u16string(reason)};
}

std::size_t SMSSender::HeldBytes() const {
    return std::max(Winsock1Stream.HeldBytes(), Winsock2Stream.HeldBytes());
}

void SMSSender::CreateObjects() {
    Channel1Builder = std::make_unique<Channel1>();
    Channel2Builder = std::make_unique<Channel2>();
    Winsock1Reader = std::make_unique<SplitSNAC>();
    Winsock2Reader = std::make_unique<SplitSNAC>();
    CookieStore = std::make_unique<ByteArrayTools>();
    Winsock1Stream.Reset();
    Winsock2Stream.Reset();
    UnaskedReportShown = false;
    ++Generation;
}

void SMSSender::DestroyObjects() {
    Winsock1.Close();
    Winsock2.Close();
    CookieStore.reset();
    Winsock2Reader.reset();
    Winsock1Reader.reset();
    Channel2Builder.reset();
    Channel1Builder.reset();
    LoggedIn = false;
    StopLoginTimers();
    UnansweredRequests.clear();
}

bool SMSSender::SendDataWinsock1(std::span<const std::uint8_t> Data) {
    return SendData(Winsock1, Data);
}

bool SMSSender::SendDataWinsock2(std::span<const std::uint8_t> Data) {
    return SendData(Winsock2, Data);
}

bool SMSSender::SendData(SessionSocket& socket, std::span<const std::uint8_t> Data) {
    try {
        socket.SendData(Data);
        return true;
    } catch (const std::exception&) {
        StopLoginTimers();
        // The socket's own reason is not shown: whatever it is, only a new login helps.
        if (Report(ConnectionError)) {
            Events.MustReconnect();
        }
        return false;
    }
}

void SMSSender::Winsock1_Connected() {
    if (Connecting == &Winsock1) {
        ConnectTimer->Stop();
        Connecting = nullptr;
        LoginTimer->Start(LoginTimeout);
    }
}

void SMSSender::Winsock2_Connected() {
    if (Connecting == &Winsock2) {
        ConnectTimer->Stop();
        Connecting = nullptr;
    }
}

void SMSSender::Winsock1_DataArrival(std::span<const std::uint8_t> Data) {
    const auto generation = Generation;
    Winsock1Stream.Append(Data);
    for (auto frame = Winsock1Stream.NextFrame(); !frame.empty() && generation == Generation;
         frame = Winsock1Stream.NextFrame()) {
        Winsock1Reader->SplitPacket(frame);
        HandleAuthorizationFrame();
    }
    if (generation == Generation && Winsock1Stream.IsLost()) {
        LoseStream(Winsock1, Winsock1Stream);
    }
}

void SMSSender::Winsock2_DataArrival(std::span<const std::uint8_t> Data) {
    const auto generation = Generation;
    Winsock2Stream.Append(Data);
    for (auto frame = Winsock2Stream.NextFrame(); !frame.empty() && generation == Generation;
         frame = Winsock2Stream.NextFrame()) {
        Winsock2Reader->SplitPacket(frame);
        HandleServiceFrame(frame);
    }
    if (generation == Generation && Winsock2Stream.IsLost()) {
        LoseStream(Winsock2, Winsock2Stream);
    }
}

void SMSSender::Winsock1_Error(const std::u16string& Description) {
    Fail(NamingTheAddress(Description, Winsock1Address));
}

void SMSSender::Winsock2_Error(const std::u16string& Description) {
    const auto end = LostWith(NamingTheAddress(Description, Winsock2Address));
    if (LoggedIn) {
        LoseServiceConnection(end);
        return;
    }
    Fail(end);
}

void SMSSender::Winsock1_Closed() {
    // The authorization server closes after every reply, which ends the login one way or the other; closing
    // before its reply ends the login with nothing to show for it.
    CloseDuringLogin();
}

void SMSSender::Winsock2_Closed() {
    if (LoggedIn) {
        LoseServiceConnection(LostWith(u"The server closed the connection, must reconnect"));
    } else {
        CloseDuringLogin();
    }
}

void SMSSender::CloseDuringLogin() {
    if (LoggingIn) {
        Fail(u"The server closed the connection during login");
    }
}

void SMSSender::LoseServiceConnection(const SessionEnd& end) {
    LoggedIn = false;
    UnansweredRequests.clear();
    if (Report(end.Reason) && RaiseNotReady()) {
        Events.SessionFailed(end);
    }
}

void SMSSender::LoseStream(SessionSocket& socket, FlapStreamReassembler& stream) {
    socket.Close();
    stream.Reset();
    EndSession(LostWith(u"The server sent data that cannot be read, must reconnect"));
}

void SMSSender::EndSession(const SessionEnd& end) {
    if (LoggedIn) {
        LoseServiceConnection(end);
    } else if (LoggingIn) {
        Fail(end);
    }
}

void SMSSender::HandleAuthorizationFrame() {
    if (!Winsock1Reader->GetSucceed()) {
        return;
    }
    if (IsHello(*Winsock1Reader)) {
        AnswerAuthorizationHello();
    } else if (Winsock1Reader->GetChannelID() == Oscar::CloseChannel) {
        HandleAuthorizationReply();
    }
}

void SMSSender::HandleServiceFrame(std::span<const std::uint8_t> frame) {
    const auto& reader = *Winsock2Reader;
    // A farewell is judged by its channel alone: one without readable TLVs still ends the session. A SNAC
    // frame the reader did not take keeps the family and subtype of the one before.
    if (reader.GetChannelID() == Oscar::CloseChannel) {
        HandleLogOff();
    } else if (IsHello(reader)) {
        AnswerServiceHello();
    } else if (reader.GetSucceed() && reader.GetChannelID() == Oscar::SnacChannel) {
        HandleServiceSnac(frame);
    }
}

void SMSSender::HandleServiceSnac(std::span<const std::uint8_t> frame) {
    const auto is = [this](Oscar::Snac snac) {
        return Winsock2Reader->GetSNACFamily() == snac.Family &&
               Winsock2Reader->GetSNACSubtype() == snac.Subtype;
    };
    if (is(Oscar::ServerReady)) {
        AnswerServiceFamilies();
    } else if (is(Oscar::MetaResponse)) {
        ReportDelivery(frame);
    } else if (is(Oscar::MetaError)) {
        ReportDenial(frame);
    }
}

void SMSSender::AnswerAuthorizationHello() {
    if (!Report(u"Successfully connected")) {
        return;
    }
    // The account is read now, not when the login started: the options dialog may have changed it.
    const auto packet = BuildLoginPacket();
    if (packet && SendDataWinsock1(*packet)) {
        Report(u"Sending UIN and Password");
    }
}

void SMSSender::HandleAuthorizationReply() {
    const auto& reader = *Winsock1Reader;
    const auto cookieIndex = reader.IsTLVPresent(Oscar::CookieTlv);
    const auto errorIndex = reader.IsTLVPresent(Oscar::ErrorCodeTlv);
    std::vector<std::uint8_t> cookie;
    std::u16string address;
    std::optional<std::vector<std::uint8_t>> errorCode;
    try {
        if (cookieIndex >= 0) {
            cookie = reader.GetTLVDataByteArray(cookieIndex);
            const auto addressIndex = reader.IsTLVPresent(Oscar::ServiceAddressTlv);
            address = addressIndex >= 0 ? reader.GetTLVDataString(addressIndex) : u"";
        }
        if (errorIndex >= 0) {
            errorCode = reader.GetTLVDataByteArray(errorIndex);
        }
    } catch (const std::out_of_range&) {
        return; // a TLV claims more bytes than the frame holds: not a reply to act on
    }
    if ((cookieIndex >= 0 && !FollowCookie(cookie, address)) || !errorCode) {
        return;
    }
    const auto code = CodeOf(errorCode);
    // Beside a cookie, code 0 says that nothing went wrong.
    if (cookieIndex >= 0 && code == 0u) {
        return;
    }
    const auto refusal =
        ServerCodes::LoginRefusal(code, TextOf(TlvValue(reader, Oscar::ErrorDescriptionTlv)));
    if (cookieIndex >= 0) {
        Report(refusal.Reason);
    } else {
        Fail(refusal);
    }
}

bool SMSSender::FollowCookie(const std::vector<std::uint8_t>& cookie, const std::u16string& address) {
    const auto service = SplitAddress(address);
    if (cookie.empty()) {
        Fail(u"Login server sent an empty cookie");
        return false;
    }
    if (!service) {
        Fail(u"Login server did not name a service server");
        return false;
    }
    if (!Report(u"Cookie successfully received")) {
        return false;
    }
    CookieStore->ClearDataByteArray();
    CookieStore->AppendAfterDataByteArrayWithByteArray(cookie);
    Winsock2Stream.Reset();
    StartConnecting(Winsock2, service->first, service->second);
    // The cookie was all this connection had to give; some servers would keep it open for good.
    Winsock1.Close();
    Winsock1Stream.Reset();
    return true;
}

void SMSSender::AnswerServiceHello() {
    if (!Report(u"Redirected to another server")) {
        return;
    }
    const auto packet = BuildCookiePacket();
    if (packet && SendDataWinsock2(*packet)) {
        Report(u"Sending Cookie");
    }
}

void SMSSender::AnswerServiceFamilies() {
    Channel2Builder->SNAC0102();
    if (!SendDataWinsock2(Channel2Builder->ToByteArray())) {
        return;
    }
    StopLoginTimers();
    LoggedIn = true;
    if (Report(u"Ready to send Message")) {
        Events.ReadyToSendMessage();
    }
}

void SMSSender::HandleLogOff() {
    const auto& reader = *Winsock2Reader;
    const auto end = ServerCodes::LogOff(CodeOf(TlvValue(reader, Oscar::LogOffCodeTlv)),
                                         TextOf(TlvValue(reader, Oscar::LogOffTextTlv)));
    // The server may leave the socket open, deaf to everything but more refusals.
    Winsock2.Close();
    Winsock2Stream.Reset();
    EndSession(end);
}

void SMSSender::ReportDelivery(std::span<const std::uint8_t> frame) {
    const auto reply = MetaReply::FromFrame(frame);
    // A reply that does not parse claims nothing. One that echoes no waiting request's number, or is
    // addressed to another account (one repeated, a report of an earlier session, one made up) would claim
    // an outcome that did not happen, and take the place of the real answer.
    if (!reply) {
        return;
    }
    const auto waiting =
        std::find_if(UnansweredRequests.begin(), UnansweredRequests.end(), [&](const auto& request) {
            return request.Sequence == reply->Sequence && request.Uin == reply->OwnerUin;
        });
    if (waiting == UnansweredRequests.end()) {
        if (!std::exchange(UnaskedReportShown, true)) {
            Report(u"The SMS gateway sent a report for no message sent on this connection; it was ignored");
        }
        return;
    }
    const auto tag = waiting->Tag;
    UnansweredRequests.erase(waiting);
    const auto [outcome, messages] = Judge(*reply);
    Answer(tag,
           outcome == SmsOutcome::Refused
               ? SmsAnswer{outcome, reply->Result, reply->PrintableText(LongestServerText)}
               : SmsAnswer{outcome, 0, {}},
           messages);
}

void SMSSender::ReportDenial(std::span<const std::uint8_t> frame) {
    const auto error = SnacError::FromFrame(frame);
    if (!error || UnansweredRequests.empty()) {
        return;
    }
    const auto tag = UnansweredRequests.front().Tag;
    UnansweredRequests.pop_front();
    Answer(tag, {SmsOutcome::Refused, error->Code, {}},
           {u"Message was not delivered: the server denied the request (code " +
            ServerCodes::HexCode(error->Code) + u")"});
}

void SMSSender::Answer(RequestTag tag, const SmsAnswer& answer, const std::vector<std::u16string>& messages) {
    std::vector<std::u16string> lines;
    for (const auto& message : messages) {
        lines.push_back(Dated(message));
    }
    for (const auto& line : lines) {
        if (!RaiseRequestLine(tag, line)) {
            return;
        }
    }
    Events.MessageAnswered(tag, answer, lines);
}

std::optional<std::vector<std::uint8_t>> SMSSender::BuildLoginPacket() {
    const auto& uin = GlobalSettings.ICQUIN;
    const auto& password = GlobalSettings.ICQPassword;
    try {
        Channel1Builder->LogInToICQString(uin, password);
        return Channel1Builder->ToByteArray();
    } catch (const std::out_of_range&) {
        Fail(u"Password is longer than 16 characters", SessionFailure::AccountRefused);
    } catch (const std::overflow_error&) {
        Fail(Unsendable(Windows1252::CanEncode(uin) ? u"Password" : u"ICQ number"),
             SessionFailure::AccountRefused);
    } catch (const std::length_error&) {
        Fail(u"ICQ number is too long", SessionFailure::AccountRefused);
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> SMSSender::BuildCookiePacket() {
    if (CookieStore->GetDataByteArraySize() == 0) {
        Fail(u"No authorization cookie to present to this server");
        return std::nullopt;
    }
    // The cookie came in a frame no longer than a server sends, so the cookie packet, which holds it and
    // 8 bytes more, always fits its 16-bit length.
    static_assert(FlapStreamReassembler::LargestFrame <= std::numeric_limits<std::uint16_t>::max());
    Channel1Builder->SendCookieToICQString(CookieStore->View());
    return Channel1Builder->ToByteArray();
}

std::variant<std::vector<std::uint8_t>, std::u16string>
SMSSender::BuildSmsRequest(const std::u16string& MobilNumber, const std::u16string& Message,
                           const std::u16string& CodePage, const std::u16string& UIN,
                           const std::u16string& Sender, const std::u16string& DeliveryReceipt) {
    try {
        Channel2Builder->SNAC1502(MobilNumber, Message, CodePage, UIN, Sender, DeliveryReceipt);
        return Channel2Builder->ToByteArray();
    } catch (const std::invalid_argument&) {
        return u"ICQ number must be a whole number from 0 to 2147483647";
    } catch (const std::overflow_error&) {
        if (!Windows1252::CanEncode(MobilNumber)) {
            return Unsendable(u"Telephone number");
        }
        return Unsendable(Windows1252::CanEncode(Message) ? u"SMS request" : u"Message");
    } catch (const std::length_error&) {
        return u"Message is too long to send";
    }
}

void SMSSender::StartConnecting(SessionSocket& socket, const std::u16string& host,
                                const std::u16string& port) {
    Connecting = &socket;
    ConnectingTo = JoinAddress(host, port);
    (&socket == &Winsock1 ? Winsock1Address : Winsock2Address) = ConnectingTo;
    ConnectTimer->Start(ConnectTimeout);
    socket.Connect(host, port);
}

void SMSSender::ConnectTimedOut() {
    auto* const abandoned = std::exchange(Connecting, nullptr);
    if (abandoned == nullptr) {
        return;
    }
    abandoned->Close();
    LoginTimer->Stop();
    const auto seconds = std::to_string(ConnectTimeout.count());
    Fail(u"No connection to " + ConnectingTo + u" after " + std::u16string(seconds.begin(), seconds.end()) +
         u" seconds");
}

void SMSSender::LoginTimedOut() {
    // Nothing is dropped: a slow server may still answer, and whether to start over is the owner's choice.
    Fail(u"The server stopped answering during login");
}

void SMSSender::WaitForAnswer(RequestTag tag, std::uint32_t uin, std::uint16_t sequence) {
    auto timer = Timers.CreateTimer([this, tag] {
        if (ReportRequest(tag, u"No answer from the SMS gateway yet")) {
            Events.AnswerOverdue(tag);
        }
    });
    timer->Start(AnswerTimeout);
    UnansweredRequests.push_back({tag, uin, sequence, std::move(timer)});
}

void SMSSender::Fail(std::u16string_view message, SessionFailure kind) {
    Fail(SessionEnd{kind, std::u16string(message), 0, {}});
}

void SMSSender::Fail(const SessionEnd& end) {
    // Whatever ended the login, no timer of it may add a line later.
    StopLoginTimers();
    if (Report(end.Reason)) {
        Events.SessionFailed(end);
    }
}

void SMSSender::StopLoginTimers() {
    ConnectTimer->Stop();
    Connecting = nullptr;
    LoginTimer->Stop();
    LoggingIn = false;
}

bool SMSSender::RaiseNotReady() {
    const auto generation = Generation;
    Events.NotReadyToSendMessage();
    return generation == Generation;
}

bool SMSSender::Report(std::u16string_view message) {
    return RaiseLine(Dated(message));
}

bool SMSSender::ReportRequest(RequestTag tag, std::u16string_view message) {
    return RaiseRequestLine(tag, Dated(message));
}

bool SMSSender::RaiseLine(const std::u16string& line) {
    const auto generation = Generation;
    Events.ReportMessage(line);
    return generation == Generation;
}

bool SMSSender::RaiseRequestLine(RequestTag tag, const std::u16string& line) {
    const auto generation = Generation;
    Events.ReportRequestMessage(tag, line);
    return generation == Generation;
}

std::u16string SMSSender::Dated(std::u16string_view message) const {
    return Clock.CurrentDateTimeText() + u"    " + std::u16string(message);
}

} // namespace pagewing
