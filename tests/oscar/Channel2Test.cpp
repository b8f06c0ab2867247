#include "oscar/Channel2.h"
#include "oscar/GlobalSequenceCounter.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

using pagewing::Channel2;
using pagewing::test::Bytes;

namespace {

class Channel2Test : public ::testing::Test {
protected:
    void SetUp() override { pagewing::GlobalSequenceCounter::SequenceCounter = 0; }

    // The XML document of the last SMS request: everything after the 50 bytes of headers.
    std::string Xml() const {
        const auto frame = Builder.ToByteArray();
        return {frame.begin() + 56, frame.end()};
    }

    void SendHi() { Builder.SNAC1502(u"12345", u"Hi", u"1252", u"123456789", u"Ann", u"Yes"); }

    Channel2 Builder;
};

TEST_F(Channel2Test, ClientReadyListsTenFamiliesWithTheirTools) {
    Builder.SNAC0102();
    Builder.SNAC0102();
    EXPECT_EQ(Builder.ToByteArray(), Bytes("2A02 0002 005A 0001 0002 0000 00000000"
                                           "0001 0003 0110 047B  0013 0002 0110 047B  0002 0001 0101 047B"
                                           "0003 0001 0110 047B  0015 0001 0110 047B  0004 0001 0110 047B"
                                           "0006 0001 0110 047B  0009 0001 0110 047B  000A 0001 0110 047B"
                                           "000B 0001 0110 047B"));
}

TEST_F(Channel2Test, SmsRequestMatchesTheReferenceExample) {
    SendHi();
    const auto frame = Builder.ToByteArray();
    const auto head = Bytes("2A02 0001 012E 0015 0002 0000 00000000 0001 0120 1E01 15CD5B07 D007 0100 8214"
                            "0001 0016 000000000000000000000000000000000000 00FC");
    EXPECT_EQ(std::vector(frame.begin(), frame.begin() + 56), head);
    EXPECT_EQ(Xml(), "<icq_sms_message><destination>12345</destination><text>Hi</text>"
                     "<codepage>1252</codepage><senders_UIN>123456789</senders_UIN>"
                     "<senders_name>Ann</senders_name><delivery_receipt>Yes</delivery_receipt>"
                     "<time>24 Sep 2005 00:36:21 GMT</time></icq_sms_message>");
}

TEST_F(Channel2Test, MetaSequenceCarriesTheLow16BitsAndStartsAgainAtZero) {
    const struct {
        std::int32_t before;
        std::u16string field;
    } cases[] = {{1, u"0200"},
                 {0x1FFFE, u"FFFF"},
                 {0x1FFFF, u"0000"},
                 {std::numeric_limits<std::int32_t>::max(), u"0000"}};
    for (const auto& c : cases) {
        Builder.SetSMSRequestCounter(c.before);
        SendHi();
        EXPECT_EQ(Builder.ToHexStringStartLength(28, 2), c.field) << c.before;
        EXPECT_EQ(Builder.ToByteArray().size(), 6u + 0x12E) << "each build replaces the last";
    }
    EXPECT_EQ(Builder.GetSMSRequestCounter(), 0);
}

TEST_F(Channel2Test, MarkupInArgumentsIsEscapedAndCountedInTheLengths) {
    Builder.SNAC1502(u"1<2", u"Tom & Jerry </text>", u"1252", u"2147483647", u">", u"Yes");
    const auto xml = Xml();
    EXPECT_NE(xml.find("<destination>1&lt;2</destination>"), std::string::npos);
    EXPECT_NE(xml.find("<text>Tom &amp; Jerry &lt;/text&gt;</text>"), std::string::npos);
    EXPECT_NE(xml.find("<senders_name>&gt;</senders_name>"), std::string::npos);
    const auto frame = Builder.ToByteArray();
    EXPECT_EQ(frame[54] * 256 + frame[55], static_cast<int>(xml.size()));
    EXPECT_EQ(frame[4] * 256 + frame[5], static_cast<int>(50 + xml.size()));
}

TEST_F(Channel2Test, LargestRequestWhoseLengthsFitTheirFields) {
    // The FLAP payload is 50 + X bytes, so the document can hold 65485 bytes and not one more.
    const auto room = static_cast<std::size_t>(65485 - 226 - 2);
    Builder.SNAC1502(u"1", std::u16string(room, u'm'), u"", u"5", u"", u"");
    EXPECT_EQ(Builder.ToHexStringStartLength(4, 2), u"FFFF");
    EXPECT_EQ(Builder.ToHexStringStartLength(18, 4), u"FFF1EFFF");
    EXPECT_THROW(Builder.SNAC1502(u"1", std::u16string(room + 1, u'm'), u"", u"5", u"", u""),
                 std::length_error);
}

} // namespace
