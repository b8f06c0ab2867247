#pragma once

#include "oscar/FlapFrameBuilder.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pagewing {

// Builds the SNAC requests sent on FLAP channel 2: thirteen fixed requests of a client starting work with
// the service server (only SNAC0102, client ready, is sent by the session) and SNAC1502, the SMS request:
// an ICQ meta request 0x07D0/0x1482 whose body is a small XML document.
//
// A failing SNAC1502 throws and leaves an unfinished request that must not be sent: std::overflow_error for
// a character without a Windows-1252 code, std::invalid_argument for a UIN that is not a whole number from 0
// to 2147483647, std::length_error for a document too long for the 16-bit lengths.
class Channel2 : public FlapFrameBuilder {
public:
    std::int32_t GetSMSRequestCounter() const { return SMSRequestCounter; }
    void SetSMSRequestCounter(std::int32_t value) { SMSRequestCounter = value; }

    void SNAC1502(const std::u16string& MobilNumber, const std::u16string& Message,
                  const std::u16string& CodePage, const std::u16string& UIN, const std::u16string& Sender,
                  const std::u16string& DeliveryReceipt);

    void SNAC0117();
    void SNAC0106();
    void SNAC0108();
    void SNAC0402();
    void SNAC010E();
    void SNAC0202();
    void SNAC0302();
    void SNAC0404();
    void SNAC0902();
    void SNAC0204();
    void SNAC0907();
    void SNAC011E();
    void SNAC0102();

    // The date that every SMS request names, whatever the clock says.
    static constexpr std::u16string_view FixedTime = u"24 Sep 2005 00:36:21 GMT";

    // The UIN as the meta header carries it; std::invalid_argument when it is not a whole number from 0 to
    // 2147483647.
    static std::int32_t UinToNumber(std::u16string_view UIN);

private:
    // The fixed request: its 2-byte payload length, SNAC header and body, framed on channel 2.
    void BuildFixedRequest(std::u16string_view lengthHeaderAndBody);
    void AppendXmlElement(std::u16string_view name, std::u16string_view text);

    std::int32_t SMSRequestCounter = 0;
};

} // namespace pagewing
