#include "oscar/Channel2.h"
#include "oscar/GlobalSequenceCounter.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

#include <functional>
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

TEST_F(Channel2Test, FixedRequestsAreOneFrameOfTheirOwnLength) {
    const struct {
        void (Channel2::*build)();
        std::u16string familyAndSubtype;
        std::int32_t payloadLength;
    } requests[] = {
        {&Channel2::SNAC0117, u"00010017", 50}, {&Channel2::SNAC0106, u"00010006", 10},
        {&Channel2::SNAC0108, u"00010008", 20}, {&Channel2::SNAC0402, u"00040002", 26},
        {&Channel2::SNAC010E, u"0001000E", 10}, {&Channel2::SNAC0202, u"00020002", 10},
        {&Channel2::SNAC0302, u"00030002", 10}, {&Channel2::SNAC0404, u"00040004", 10},
        {&Channel2::SNAC0902, u"00090002", 10}, {&Channel2::SNAC0204, u"00020004", 78},
        {&Channel2::SNAC0907, u"00090007", 10}, {&Channel2::SNAC011E, u"0001001E", 65},
        {&Channel2::SNAC0102, u"00010002", 90},
    };
    std::int32_t sequence = 0;
    for (const auto& request : requests) {
        (Builder.*request.build)();
        ++sequence;
        const auto frame = Builder.ToByteArray();
        SCOPED_TRACE(std::string(request.familyAndSubtype.begin(), request.familyAndSubtype.end()));
        EXPECT_EQ(frame.size(), static_cast<std::size_t>(6 + request.payloadLength));
        EXPECT_EQ(Builder.ToHexStringStartLength(0, 2), u"2A02");
        EXPECT_EQ(frame[2] * 256 + frame[3], sequence);
        EXPECT_EQ(frame[4] * 256 + frame[5], request.payloadLength);
        EXPECT_EQ(Builder.ToHexStringStartLength(6, 10), request.familyAndSubtype + u"000000000000");
    }
}

TEST_F(Channel2Test, RequestBodiesByteForByte) {
    const struct {
        void (Channel2::*build)();
        std::string_view body;
    } requests[] = {
        // The families and versions we speak.
        {&Channel2::SNAC0117, "0001 0003  0013 0002  0002 0001  0003 0001  0015 0001  0004 0001  0006 0001"
                              "0009 0001  000A 0001  000B 0001"},
        // The five rate classes acknowledged.
        {&Channel2::SNAC0108, "0001 0002 0003 0004 0005"},
        // Message parameters: channel 0, flags 3, 8000-byte messages, warning levels 999, interval 0.
        {&Channel2::SNAC0402, "0000 00000003 1F40 03E7 03E7 00000000"},
        // Capabilities in TLV 5: four 16-byte identifiers.
        {&Channel2::SNAC0204, "0005 0040 094613494C7F11D18222444553540000 97B12751243C4334AD22D6ABF73F1492"
                              "2E7A6475FADF4DC8886FEA3595FDB6DF 094613444C7F11D18222444553540000"},
        // Status online (TLV 6), error 0 (TLV 8) and the direct-connection block (TLV 0C).
        {&Channel2::SNAC011E, "0006 0004 00000000  0008 0002 0000  000C 0025 0A000001 00000BB8 04 0008"
                              "6B2E91C4 00000050 00000003 000000000000000000000000 0000"},
    };
    for (const auto& request : requests) {
        (Builder.*request.build)();
        const auto frame = Builder.ToByteArray();
        EXPECT_EQ(std::vector(frame.begin() + 16, frame.end()), Bytes(request.body)) << request.body;
    }
}

TEST_F(Channel2Test, RateLimitsRequestByteForByte) {
    Builder.SNAC0106();
    EXPECT_EQ(Builder.ToByteArray(), Bytes("2A02 0001 000A 0001 0006 0000 00000000"));
}

TEST_F(Channel2Test, ClientReadyListsTenFamiliesWithTheirTools) {
    Builder.SNAC0102();
    EXPECT_EQ(Builder.ToByteArray(), Bytes("2A02 0001 005A 0001 0002 0000 00000000"
                                           "0001 0003 0110 047B  0013 0002 0110 047B  0002 0001 0101 047B"
                                           "0003 0001 0110 047B  0015 0001 0110 047B  0004 0001 0110 047B"
                                           "0006 0001 0110 047B  0009 0001 0110 047B  000A 0001 0110 047B"
                                           "000B 0001 0110 047B"));
}

TEST_F(Channel2Test, SmsRequestMatchesTheReferenceExample) {
    SendHi();
    const auto frame = Builder.ToByteArray();
    ASSERT_EQ(frame.size(), 308u);
    EXPECT_EQ(Builder.ToHexStringStartLength(0, 6), u"2A020001012E");
    const auto head = Bytes("0015 0002 0000 00000000 0001 0120 1E01 15CD5B07 D007 0100 8214 0001 0016"
                            "000000000000000000000000000000000000 00FC");
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin() + 6, frame.begin() + 56), head);
    EXPECT_EQ(Xml(), "<icq_sms_message><destination>12345</destination><text>Hi</text>"
                     "<codepage>1252</codepage><senders_UIN>123456789</senders_UIN>"
                     "<senders_name>Ann</senders_name><delivery_receipt>Yes</delivery_receipt>"
                     "<time>24 Sep 2005 00:36:21 GMT</time></icq_sms_message>");
}

TEST_F(Channel2Test, MetaSequenceCountsRequestsOfThisBuilderOnly) {
    SendHi();
    SendHi();
    EXPECT_EQ(Builder.ToHexStringStartLength(28, 2), u"0200");
    EXPECT_EQ(Builder.GetSMSRequestCounter(), 2);

    Channel2 fresh;
    fresh.SNAC1502(u"1", u"", u"", u"7", u"", u"");
    EXPECT_EQ(fresh.ToHexStringStartLength(28, 2), u"0100");
    EXPECT_EQ(fresh.ToHexStringStartLength(2, 2), u"0003");
}

TEST_F(Channel2Test, MetaSequenceCarriesTheLow16BitsOfTheCounter) {
    Builder.SetSMSRequestCounter(0x1FFFF);
    SendHi();
    EXPECT_EQ(Builder.ToHexStringStartLength(28, 2), u"0000");
}

TEST_F(Channel2Test, EmptyArgumentsGiveEmptyElements) {
    Builder.SNAC1502(u"", u"", u"", u"0", u"", u"");
    EXPECT_EQ(Xml(), "<icq_sms_message><destination></destination><text></text><codepage></codepage>"
                     "<senders_UIN>0</senders_UIN><senders_name></senders_name>"
                     "<delivery_receipt></delivery_receipt><time>24 Sep 2005 00:36:21 GMT</time>"
                     "</icq_sms_message>");
    EXPECT_EQ(Builder.ToByteArray().size(), 56u + 227u);
}

TEST_F(Channel2Test, MarkupInArgumentsIsEscapedAndCountedInTheLengths) {
    Builder.SNAC1502(u"1<2", u"Tom & Jerry </text>", u"1252", u"5", u">", u"Yes");
    const auto xml = Xml();
    EXPECT_NE(xml.find("<destination>1&lt;2</destination>"), std::string::npos);
    EXPECT_NE(xml.find("<text>Tom &amp; Jerry &lt;/text&gt;</text>"), std::string::npos);
    EXPECT_NE(xml.find("<senders_name>&gt;</senders_name>"), std::string::npos);
    const auto frame = Builder.ToByteArray();
    EXPECT_EQ(frame[54] * 256 + frame[55], static_cast<int>(xml.size()));
    EXPECT_EQ(frame[4] * 256 + frame[5], static_cast<int>(50 + xml.size()));
}

TEST_F(Channel2Test, UinThatIsNotANumberFailsAfterTheCounterMoved) {
    for (const auto* uin : {u"", u"12a", u"-5", u" 12", u"2147483648", u"99999999999"}) {
        EXPECT_THROW(Builder.SNAC1502(u"1", u"x", u"1252", uin, u"A", u"Yes"), std::invalid_argument);
    }
    EXPECT_EQ(Builder.GetSMSRequestCounter(), 6);
    EXPECT_EQ(pagewing::GlobalSequenceCounter::SequenceCounter, 0);
    Builder.SNAC1502(u"1", u"x", u"1252", u"2147483647", u"A", u"Yes");
    EXPECT_EQ(Builder.ToHexStringStartLength(22, 8), u"FFFFFF7FD0070700");
}

TEST_F(Channel2Test, LargestRequestWhoseLengthsFitTheirFields) {
    // The FLAP payload is 50 + X bytes, so the document can hold 65485 bytes and not one more.
    const auto room = 65485 - 226 - 2;
    Builder.SNAC1502(u"1", std::u16string(static_cast<std::size_t>(room), u'm'), u"", u"5", u"", u"");
    EXPECT_EQ(Builder.ToByteArray().size(), 6u + 65535u);
    EXPECT_EQ(Builder.ToHexStringStartLength(4, 2), u"FFFF");
    EXPECT_EQ(Builder.ToHexStringStartLength(18, 4), u"FFF1EFFF");
    EXPECT_THROW(
        Builder.SNAC1502(u"1", std::u16string(static_cast<std::size_t>(room + 1), u'm'), u"", u"5", u"", u""),
        std::length_error);
}

} // namespace
