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
#include <vector>

namespace pagewing {

// The session: logs in to the authorization server, follows its reply to the service server, presents the
// cookie, answers SNAC 01,03 with client ready, sends SMS requests and reports the gateway's answers.
//
// Each frame is judged by the connection it came on and its own content, and answered at once. What the
// session remembers beyond that is only what keeps its status lines true: whether the login has finished,
// and how many SMS requests wait for their answer (answers come in the order of the requests). It never
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

    // True when the request was written to the service connection.
    bool SendSMSMessage(const std::u16string& MobilNumber, const std::u16string& Message,
                        const std::u16string& CodePage, const std::u16string& UIN,
                        const std::u16string& Sender, const std::u16string& DeliveryReceipt);

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
    void LoseServiceConnection(std::u16string_view line);

    void HandleAuthorizationFrame();
    void HandleServiceFrame(std::span<const std::uint8_t> frame);
    void AnswerAuthorizationHello();
    void HandleAuthorizationReply();
    void AnswerServiceHello();
    void AnswerServiceFamilies();
    void ReportDelivery(std::span<const std::uint8_t> frame);

    std::optional<std::vector<std::uint8_t>> BuildLoginPacket();
    std::optional<std::vector<std::uint8_t>> BuildCookiePacket();
    std::optional<std::vector<std::uint8_t>>
    BuildSmsRequest(const std::u16string& MobilNumber, const std::u16string& Message,
                    const std::u16string& CodePage, const std::u16string& UIN, const std::u16string& Sender,
                    const std::u16string& DeliveryReceipt);

    void StartConnecting(SessionSocket& socket, const std::u16string& host, const std::u16string& port);
    void ConnectTimedOut();
    void LoginTimedOut();
    void WaitForAnswer(std::uint32_t uin);
    // Reports a line that ends the login or the service connection, then raises SessionFailed.
    void Fail(std::u16string_view message, SessionFailure kind = SessionFailure::ConnectionLost);
    void StopLoginTimers();

    // Raises ReportMessage with the dated line; false when the owner's handler started a new session
    // meanwhile, so that the step that reported must not go on.
    bool Report(std::u16string_view message);
    bool RaiseLine(const std::u16string& line);
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
    // Each SMS request sent and not yet answered, oldest first: the account it was sent for, which its
    // answer is addressed to, and its running or fired timer.
    struct UnansweredRequest {
        std::uint32_t Uin;
        std::unique_ptr<SessionTimer> Timer;
    };
    std::deque<UnansweredRequest> UnansweredRequests;
    // Counts sessions, so that a step can tell when an event handler replaced the session under it.
    std::uint64_t Generation = 0;
};

} // namespace pagewing
