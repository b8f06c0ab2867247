#pragma once

#include "bytes/ByteArrayTools.h"
#include "oscar/Channel1.h"
#include "oscar/Channel2.h"
#include "oscar/FlapStreamReassembler.h"
#include "oscar/SplitSNAC.h"
#include "session/SMSSenderEvents.h"
#include "session/SessionSocket.h"
#include "session/StatusClock.h"

#include <cstdint>
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
// It stores no stage: each frame is judged by the connection it came on and its own content, and answered at
// once. It has no timers and never reconnects by itself. Every outcome reaches the owner as a status line.
class SMSSender {
public:
    SMSSender(SessionSocket& WinsockCtrl1, SessionSocket& WinsockCtrl2, const StatusClock& clock,
              SMSSenderEvents& events);
    ~SMSSender();
    SMSSender(const SMSSender&) = delete;
    SMSSender& operator=(const SMSSender&) = delete;

    // Drops any session and logs in again at LoginURL:LoginPort.
    void ConnectReconnect(const std::u16string& LoginURL, const std::u16string& LoginPort);

    void SendSMSMessage(const std::u16string& MobilNumber, const std::u16string& Message,
                        const std::u16string& CodePage, const std::u16string& UIN,
                        const std::u16string& Sender, const std::u16string& DeliveryReceipt);

private:
    void CreateObjects();
    void DestroyObjects();
    bool SendDataWinsock1(std::span<const std::uint8_t> Data);
    bool SendDataWinsock2(std::span<const std::uint8_t> Data);
    bool SendData(SessionSocket& socket, std::span<const std::uint8_t> Data);
    void Winsock1_DataArrival(std::span<const std::uint8_t> Data);
    void Winsock2_DataArrival(std::span<const std::uint8_t> Data);
    void Winsock1_Error(const std::u16string& Description);
    void Winsock2_Error(const std::u16string& Description);

    void HandleAuthorizationFrame();
    void HandleServiceFrame();
    void AnswerAuthorizationHello();
    void HandleAuthorizationReply();
    void AnswerServiceHello();
    void AnswerServiceFamilies();
    void ReportDelivery();

    std::optional<std::vector<std::uint8_t>> BuildLoginPacket();
    std::optional<std::vector<std::uint8_t>> BuildCookiePacket();
    std::optional<std::vector<std::uint8_t>>
    BuildSmsRequest(const std::u16string& MobilNumber, const std::u16string& Message,
                    const std::u16string& CodePage, const std::u16string& UIN, const std::u16string& Sender,
                    const std::u16string& DeliveryReceipt);

    // Raises ReportMessage with the dated line; false when the owner's handler started a new session
    // meanwhile, so that the step that reported must not go on.
    bool Report(std::u16string_view message);

    SessionSocket& Winsock1;
    SessionSocket& Winsock2;
    const StatusClock& Clock;
    SMSSenderEvents& Events;

    std::unique_ptr<Channel1> Channel1Builder;
    std::unique_ptr<Channel2> Channel2Builder;
    std::unique_ptr<SplitSNAC> Winsock1Reader;
    std::unique_ptr<SplitSNAC> Winsock2Reader;
    std::unique_ptr<ByteArrayTools> CookieStore;
    FlapStreamReassembler Winsock1Stream;
    FlapStreamReassembler Winsock2Stream;
    // Counts sessions, so that a step can tell when an event handler replaced the session under it.
    std::uint64_t Generation = 0;
};

} // namespace pagewing
