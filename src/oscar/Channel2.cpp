#include "oscar/Channel2.h"

#include <limits>
#include <stdexcept>

namespace pagewing {

namespace {

// Client ready: family, version, tool id and tool version for each family the client uses.
constexpr std::u16string_view ClientReady = u"005A"
                                            u"00010002000000000000"
                                            u"000100030110047B"
                                            u"001300020110047B"
                                            u"000200010101047B"
                                            u"000300010110047B"
                                            u"001500010110047B"
                                            u"000400010110047B"
                                            u"000600010110047B"
                                            u"000900010110047B"
                                            u"000A00010110047B"
                                            u"000B00010110047B";

std::u16string EscapeXmlText(std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size() + 16);
    for (const auto character : text) {
        switch (character) {
        case u'&':
            escaped += u"&amp;";
            break;
        case u'<':
            escaped += u"&lt;";
            break;
        case u'>':
            escaped += u"&gt;";
            break;
        default:
            escaped.push_back(character);
        }
    }
    return escaped;
}

} // namespace

void Channel2::SNAC1502(const std::u16string& MobilNumber, const std::u16string& Message,
                        const std::u16string& CodePage, const std::u16string& UIN,
                        const std::u16string& Sender, const std::u16string& DeliveryReceipt) {
    SMSRequestCounter =
        SMSRequestCounter == std::numeric_limits<std::int32_t>::max() ? 0 : SMSRequestCounter + 1;
    Data.ClearDataByteArray();

    // The arguments are escaped so that a "<" or "&" in a message cannot break or rewrite the document.
    Data.AppendAfterDataByteArrayWithString(u"<icq_sms_message>");
    AppendXmlElement(u"destination", MobilNumber);
    AppendXmlElement(u"text", Message);
    AppendXmlElement(u"codepage", CodePage);
    AppendXmlElement(u"senders_UIN", UIN);
    AppendXmlElement(u"senders_name", Sender);
    AppendXmlElement(u"delivery_receipt", DeliveryReceipt);
    Data.AppendAfterDataByteArrayWithString(u"<time>");
    Data.AppendAfterDataByteArrayWithString(FixedTime);
    Data.AppendAfterDataByteArrayWithString(u"</time>");
    Data.AppendAfterDataByteArrayWithString(u"</icq_sms_message>");

    const auto size = [this] {
        return static_cast<std::size_t>(Data.GetDataByteArraySize());
    };
    Data.AppendBeforeDataByteArrayWithNumber(Length16(size()), 2);
    Data.AppendBeforeDataByteArrayWithHexString(u"00010016000000000000000000000000000000000000");
    Data.AppendBeforeDataByteArrayWithHexString(u"8214");
    Data.AppendBeforeDataByteArrayWithNumberReversed(SMSRequestCounter & 0xFFFF, 2);
    Data.AppendBeforeDataByteArrayWithHexString(u"D007");
    Data.AppendBeforeDataByteArrayWithNumberReversed(UinToNumber(UIN), 4);
    // The meta header is little-endian, the TLV around it big-endian.
    Data.AppendBeforeDataByteArrayWithNumberReversed(Length16(size()), 2);
    Data.AppendBeforeDataByteArrayWithNumber(Length16(size()), 2);
    for (const auto* field : {u"0001", u"00000000", u"0000", u"0002", u"0015"}) {
        Data.AppendBeforeDataByteArrayWithHexString(field);
    }
    Frame(u"2A02", true);
}

void Channel2::SNAC0117() {
    BuildFixedRequest(u"0032"
                      u"00010017000000000000"
                      u"00010003"
                      u"00130002"
                      u"00020001"
                      u"00030001"
                      u"00150001"
                      u"00040001"
                      u"00060001"
                      u"00090001"
                      u"000A0001"
                      u"000B0001");
}

void Channel2::SNAC0106() {
    BuildFixedRequest(u"000A00010006000000000000");
}

void Channel2::SNAC0108() {
    BuildFixedRequest(u"0014"
                      u"00010008000000000000"
                      u"00010002000300040005");
}

void Channel2::SNAC0402() {
    BuildFixedRequest(u"001A"
                      u"00040002000000000000"
                      u"0000000000031F4003E703E700000000");
}

void Channel2::SNAC010E() {
    BuildFixedRequest(u"000A0001000E000000000000");
}

void Channel2::SNAC0202() {
    BuildFixedRequest(u"000A00020002000000000000");
}

void Channel2::SNAC0302() {
    BuildFixedRequest(u"000A00030002000000000000");
}

void Channel2::SNAC0404() {
    BuildFixedRequest(u"000A00040004000000000000");
}

void Channel2::SNAC0902() {
    BuildFixedRequest(u"000A00090002000000000000");
}

void Channel2::SNAC0204() {
    BuildFixedRequest(u"004E"
                      u"00020004000000000000"
                      u"00050040"
                      u"094613494C7F11D18222444553540000"
                      u"97B12751243C4334AD22D6ABF73F1492"
                      u"2E7A6475FADF4DC8886FEA3595FDB6DF"
                      u"094613444C7F11D18222444553540000");
}

void Channel2::SNAC0907() {
    BuildFixedRequest(u"000A00090007000000000000");
}

void Channel2::SNAC011E() {
    BuildFixedRequest(u"0041"
                      u"0001001E000000000000"
                      u"0006000400000000"
                      u"000800020000"
                      u"000C0025"
                      u"0A000001" // internal address 10.0.0.1
                      u"00000BB8" // direct connection port 3000
                      u"04"
                      u"0008"
                      u"6B2E91C4"
                      u"00000050"
                      u"00000003"
                      u"000000000000000000000000"
                      u"0000");
}

void Channel2::SNAC0102() {
    BuildFixedRequest(ClientReady);
}

void Channel2::BuildFixedRequest(std::u16string_view lengthHeaderAndBody) {
    Data.ClearDataByteArray();
    Data.AppendAfterDataByteArrayWithHexString(lengthHeaderAndBody);
    Frame(u"2A02", false);
}

void Channel2::AppendXmlElement(std::u16string_view name, std::u16string_view text) {
    Data.AppendAfterDataByteArrayWithString(u"<" + std::u16string(name) + u">");
    if (text.find_first_of(u"&<>") == std::u16string_view::npos) {
        Data.AppendAfterDataByteArrayWithString(text);
    } else {
        Data.AppendAfterDataByteArrayWithString(EscapeXmlText(text));
    }
    Data.AppendAfterDataByteArrayWithString(u"</" + std::u16string(name) + u">");
}

std::int32_t Channel2::UinToNumber(std::u16string_view UIN) {
    if (UIN.empty()) {
        throw std::invalid_argument("the UIN is not a decimal number");
    }
    std::int64_t value = 0;
    for (const auto digit : UIN) {
        if (digit < u'0' || digit > u'9') {
            throw std::invalid_argument("the UIN is not a decimal number");
        }
        value = value * 10 + (digit - u'0');
        if (value > std::numeric_limits<std::int32_t>::max()) {
            throw std::invalid_argument("the UIN is above 2147483647");
        }
    }
    return static_cast<std::int32_t>(value);
}

} // namespace pagewing
