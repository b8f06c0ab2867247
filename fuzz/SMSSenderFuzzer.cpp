// The whole session against arbitrary servers: the input is a script of server bytes on either connection,
// cut at random places, mixed with connects, hang-ups, socket errors, sends, reconnects and time passing.
// Nothing may crash; no login packet leaves except in answer to bytes from the authorization server; no SMS
// request leaves except one per Send after the login finished; no delivery is reported for a request never
// sent; and each connection holds at most one incomplete frame and the start of the header after it.

#include "session/GlobalSettings.h"
#include "session/SMSSender.h"

#include "support/FakeSessionSocket.h"
#include "support/FakeSessionTimers.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

using namespace pagewing;

class CountingEvents : public SMSSenderEvents {
public:
    void ReportMessage(const std::u16string& Message) override {
        // The refusal lines begin like the marker's line.
        if (Message.ends_with(u"    Message successfully delivered") ||
            Message.find(u"    Message was not delivered") != std::u16string::npos) {
            ++DeliveryLines;
        }
    }
    void MessageAnswered(RequestTag, const SmsAnswer&, const std::vector<std::u16string>&) override {
        ++Answers;
    }

    std::size_t DeliveryLines = 0;
    std::size_t Answers = 0;
};

bool IsSmsRequest(const std::vector<std::uint8_t>& frame) {
    return frame.size() >= 10 && frame[1] == 2 && frame[6] == 0x00 && frame[7] == 0x15 && frame[8] == 0x00 &&
           frame[9] == 0x02;
}

class Script {
public:
    explicit Script(std::span<const std::uint8_t> bytes)
        : Bytes(bytes) {}

    bool Done() const { return Bytes.empty(); }
    std::uint8_t Next() {
        const auto byte = Bytes.front();
        Bytes = Bytes.subspan(1);
        return byte;
    }
    std::span<const std::uint8_t> Take(std::size_t size) {
        const auto taken = Bytes.first(std::min(size, Bytes.size()));
        Bytes = Bytes.subspan(taken.size());
        return taken;
    }

private:
    std::span<const std::uint8_t> Bytes;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GlobalSettings = {};
    GlobalSettings.ICQUIN = u"100200300";
    GlobalSettings.ICQPassword = u"pagewing";
    test::FakeSessionSocket auth;
    test::FakeSessionSocket service;
    test::FakeSessionTimers timers;
    CountingEvents events;
    struct : StatusClock {
        std::u16string CurrentDateTimeText() const override { return u"now"; }
    } clock;
    SMSSender sender(auth, service, clock, timers, events);
    sender.ConnectReconnect(u"login.example", u"5190");

    std::size_t requestsWritten = 0;
    for (Script script(std::span(data, size)); !script.Done();) {
        const auto authSent = auth.Sent.size();
        const auto serviceSent = service.Sent.size();
        const auto deliveryLines = events.DeliveryLines;
        const auto answers = events.Answers;
        const auto operation = script.Next();
        bool mayWriteToAuth = false;
        bool mayWriteRequest = false;
        switch (operation % 10) {
        case 0:
            auth.ReceiveBytes(script.Take(1 + operation / 10u * 4));
            mayWriteToAuth = true;
            break;
        case 1:
        case 2:
            service.ReceiveBytes(script.Take(1 + operation / 10u * 8));
            break;
        case 3:
            (operation & 0x80 ? service : auth).Accept();
            break;
        case 4:
            mayWriteRequest = sender.IsReadyToSendMessage();
            sender.SendSMSMessage(u"+15551234567", u"Ann:\r\nHi", u"1252", u"100200300", u"TICQClient",
                                  u"Yes", static_cast<RequestTag>(requestsWritten));
            break;
        case 5:
            timers.Advance(std::chrono::seconds(operation));
            break;
        case 6:
            (operation & 0x80 ? service : auth).Hangup();
            break;
        case 7:
            (operation & 0x80 ? service : auth).Fail(u"Connection reset by peer");
            break;
        case 8:
            service.FailWrites = (operation & 0x80) != 0;
            break;
        default:
            sender.ConnectReconnect(u"login.example", u"5190");
            break;
        }
        if (auth.Sent.size() != authSent && !mayWriteToAuth) {
            __builtin_trap();
        }
        std::size_t requests = 0;
        for (auto frame = service.Sent.begin() + static_cast<std::ptrdiff_t>(serviceSent);
             frame != service.Sent.end(); ++frame) {
            requests += IsSmsRequest(*frame) ? 1 : 0;
        }
        if (requests > (mayWriteRequest ? 1u : 0u)) {
            __builtin_trap();
        }
        requestsWritten += requests;
        const auto newAnswers = events.Answers - answers;
        if (events.Answers > requestsWritten || (events.DeliveryLines != deliveryLines && newAnswers == 0)) {
            __builtin_trap();
        }
        if (sender.HeldBytes() >= FlapStreamReassembler::LargestHeld) {
            __builtin_trap();
        }
    }
    return 0;
}
