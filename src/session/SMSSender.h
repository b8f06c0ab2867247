#pragma once

#include "bytes/ByteArrayTools.h"
#include "oscar/Channel1.h"
#include "oscar/Channel2.h"
#include "oscar/FlapStreamReassembler.h"
#include "oscar/SplitSNAC.h"
#include "session/SMSSenderEvents.h"
#include "session/SessionSocket.h"
#include "session/SessionTimer.h"
#include "session/StatusClock.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pagewing {

// What became of one call of SendSMSMessage.
struct SendAttempt {
    enum class Kind {
        Written,
        // Not logged in, or the write failed: nothing reached the server, and it can wait for the next login.
        NotConnected,
        // The request could not be built from what it was given.
        NotBuilt,
    };
    Kind What = Kind::Written;
    // The undated status line that says why; empty when written.
    std::u16string Reason;
};

// The session: logs in to the authorization server, follows its reply to the service server, presents the
// cookie, answers SNAC 01,03 with client ready, sends SMS requests and reports the gateway's answers.
//
// Each frame is judged by the connection it came on and its own content, and answered at once. What the
// session remembers beyond that is only what keeps its status lines true: whether the login has finished,
// and which SMS requests wait for their answer (a meta reply names its request by the meta sequence number
// it echoes; a SNAC error names none and answers the oldest, since a server answers in order). It never
// reconnects by itself: it tells its owner why a login ended, and the owner decides. Its timers only add
// lines when a server falls silent, and none runs while nothing is pending. Every outcome reaches the owner
// as a status line.
class SMSSender {
public:
    static constexpr std::chrono::seconds ConnectTimeout{20};
    static constexpr std::chrono::seconds LoginTimeout{30};
    static constexpr std::chrono::seconds AnswerTimeout{60};

    SMSSender(SessionSocket& WinsockCtrl1, SessionSocket& WinsockCtrl2, const StatusClock& clock,
              SessionTimerFactory& timers, SMSSenderEvents& events);
    ~SMSSender();
    SMSSender(const SMSSender&) = delete;
    SMSSender& operator=(const SMSSender&) = delete;

    // Drops any session and logs in again at LoginURL:LoginPort.
    void ConnectReconnect(const std::u16string& LoginURL, const std::u16string& LoginPort);

    // Every event about the request carries its tag.
    SendAttempt SendSMSMessage(const std::u16string& MobilNumber, const std::u16string& Message,
                               const std::u16string& CodePage, const std::u16string& UIN,
                               const std::u16string& Sender, const std::u16string& DeliveryReceipt,
                               RequestTag tag);

    bool IsReadyToSendMessage() const { return LoggedIn; }
    // Bytes received on either connection and not yet handled: at most one incomplete frame each.
    std::size_t HeldBytes() const;

private:
    void CreateObjects();
    void DestroyObjects();
    bool SendDataWinsock1(std::span<const std::uint8_t> Data);
    bool SendDataWinsock2(std::span<const std::uint8_t> Data);
    bool SendData(SessionSocket& socket, std::span<const std::uint8_t> Data);
    void Winsock1_Connected();
    void Winsock2_Connected();
    void Winsock1_DataArrival(std::span<const std::uint8_t> Data);
    void Winsock2_DataArrival(std::span<const std::uint8_t> Data);
    void Winsock1_Error(const std::u16string& Description);
    void Winsock2_Error(const std::u16string& Description);
    void Winsock1_Closed();
    void Winsock2_Closed();
    // A connection closed by the server before client ready ends the login.
    void CloseDuringLogin();
    // The service connection is gone after the login: nothing sent on it can be answered now.
    void LoseServiceConnection(const SessionEnd& end);
    // The bytes on a connection no longer hold frames that can be followed.
    void LoseStream(SessionSocket& socket, FlapStreamReassembler& stream);
    // Ends the session, or the login under way; nothing when neither is.
    void EndSession(const SessionEnd& end);

    void HandleAuthorizationFrame();
    void HandleServiceFrame(std::span<const std::uint8_t> frame);
    void HandleServiceSnac(std::span<const std::uint8_t> frame);
    void AnswerAuthorizationHello();
    void HandleAuthorizationReply();
    // Reports the cookie and connects to the service server it is for; false when the login went no
    // further.
    bool FollowCookie(const std::vector<std::uint8_t>& cookie, const std::u16string& address);
    void AnswerServiceHello();
    void AnswerServiceFamilies();
    void HandleLogOff();
    void ReportDelivery(std::span<const std::uint8_t> frame);
    void ReportDenial(std::span<const std::uint8_t> frame);
    void Answer(RequestTag tag, const SmsAnswer& answer, const std::vector<std::u16string>& messages);

    std::optional<std::vector<std::uint8_t>> BuildLoginPacket();
    std::optional<std::vector<std::uint8_t>> BuildCookiePacket();
    // The request's frame, or the reason it cannot be built.
    std::variant<std::vector<std::uint8_t>, std::u16string>
    BuildSmsRequest(const std::u16string& MobilNumber, const std::u16string& Message,
                    const std::u16string& CodePage, const std::u16string& UIN, const std::u16string& Sender,
                    const std::u16string& DeliveryReceipt);
    SendAttempt NotSent(RequestTag tag, SendAttempt::Kind kind, std::u16string_view reason);

    void StartConnecting(SessionSocket& socket, const std::u16string& host, const std::u16string& port);
    void ConnectTimedOut();
    void LoginTimedOut();
    void WaitForAnswer(RequestTag tag, std::uint32_t uin, std::uint16_t sequence);
    // Reports a line that ends the login or the service connection, then raises SessionFailed.
    void Fail(std::u16string_view message, SessionFailure kind = SessionFailure::ConnectionLost);
    void Fail(const SessionEnd& end);
    void StopLoginTimers();

    // Raises ReportMessage with the dated line; false when the owner's handler started a new session
    // meanwhile, so that the step that reported must not go on.
    bool Report(std::u16string_view message);
    bool ReportRequest(RequestTag tag, std::u16string_view message);
    bool RaiseLine(const std::u16string& line);
    bool RaiseRequestLine(RequestTag tag, const std::u16string& line);
    // Raises NotReadyToSendMessage; false, as Report, when the handler started a new session.
    bool RaiseNotReady();
    std::u16string Dated(std::u16string_view message) const;

    SessionSocket& Winsock1;
    SessionSocket& Winsock2;
    const StatusClock& Clock;
    SessionTimerFactory& Timers;
    SMSSenderEvents& Events;

    std::unique_ptr<Channel1> Channel1Builder;
    std::unique_ptr<Channel2> Channel2Builder;
    std::unique_ptr<SplitSNAC> Winsock1Reader;
    std::unique_ptr<SplitSNAC> Winsock2Reader;
    std::unique_ptr<ByteArrayTools> CookieStore;
    FlapStreamReassembler Winsock1Stream;
    FlapStreamReassembler Winsock2Stream;

    bool LoggedIn = false;
    // From the start of a login until it ends: ready, refused, failed or timed out.
    bool LoggingIn = false;
    // The connection being made and the address it was asked for, while ConnectTimer runs.
    SessionSocket* Connecting = nullptr;
    std::u16string ConnectingTo;
    // The address each connection was last asked for, which its error lines name.
    std::u16string Winsock1Address;
    std::u16string Winsock2Address;
    std::unique_ptr<SessionTimer> ConnectTimer;
    std::unique_ptr<SessionTimer> LoginTimer;
    // Each SMS request sent and not yet answered, oldest first: the owner's tag, the account and the meta
    // sequence number that its answer echoes, and its running or fired timer.
    struct UnansweredRequest {
        RequestTag Tag;
        std::uint32_t Uin;
        std::uint16_t Sequence;
        std::unique_ptr<SessionTimer> Timer;
    };
    std::deque<UnansweredRequest> UnansweredRequests;
    // Whether this connection's line about a report that answers nothing has been shown; set by
    // CreateObjects, which the constructor calls.
    bool UnaskedReportShown;
    // Counts sessions, so that a step can tell when an event handler replaced the session under it.
    std::uint64_t Generation = 0;
};

} // namespace pagewing
