#include "bytes/ByteArrayTools.h"

#include "support/HexBytes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using pagewing::ByteArrayTools;
using pagewing::test::Bytes;
using ::testing::ElementsAre;

namespace {

ByteArrayTools ToolsWith(std::string_view hex) {
    ByteArrayTools tools;
    tools.AppendAfterDataByteArrayWithByteArray(Bytes(hex));
    return tools;
}

TEST(ByteArrayToolsTest, EmptyDataReadsAsOneZeroByte) {
    const ByteArrayTools tools;
    EXPECT_EQ(tools.GetDataByteArraySize(), 0);
    EXPECT_EQ(tools.ToHexString(), u"00");
    EXPECT_EQ(tools.ToString(), u".");
    EXPECT_THAT(tools.ToByteArray(), ElementsAre(0x00));
}

TEST(ByteArrayToolsTest, HexStringIsReadInEitherCaseAndWrittenUpperCase) {
    ByteArrayTools tools;
    tools.AppendAfterDataByteArrayWithHexString(u"2a01");
    EXPECT_THAT(tools.ToByteArray(), ElementsAre(0x2A, 0x01));
    EXPECT_EQ(tools.ToHexString(), u"2A01");
    tools.AppendAfterDataByteArrayWithHexString(u"fFaB");
    EXPECT_EQ(tools.ToHexString(), u"2A01FFAB");
}

TEST(ByteArrayToolsTest, UnusableHexStringsAddNothing) {
    for (const auto* hex : {u"", u"1", u"ABC", u"2A 01"}) {
        auto tools = ToolsWith("AA");
        tools.AppendAfterDataByteArrayWithHexString(hex);
        tools.AppendBeforeDataByteArrayWithHexString(hex);
        EXPECT_EQ(tools.ToHexString(), u"AA");
    }
}

TEST(ByteArrayToolsTest, NonDigitsInAHexPairCountAsZero) {
    ByteArrayTools tools;
    tools.AppendAfterDataByteArrayWithHexString(u"x1G1  -F");
    EXPECT_THAT(tools.ToByteArray(), ElementsAre(0x01, 0x01, 0x00, 0x0F));
}

TEST(ByteArrayToolsTest, NumbersInBothByteOrders) {
    const struct {
        std::int32_t number;
        std::int32_t bytes;
        std::u16string bigEndian;
        std::u16string littleEndian;
    } cases[] = {
        {16909060, 4, u"01020304", u"04030201"},
        {16909060, 2, u"0304", u"0403"},
        {258, 1, u"02", u"02"},
        {0x12345, 2, u"2345", u"4523"},
        {258, 0, u"", u""},
        {258, 5, u"", u""},
        {2147483647, 4, u"7FFFFFFF", u"FFFFFF7F"},
        {0, 3, u"000000", u"000000"},
    };
    for (const auto& c : cases) {
        ByteArrayTools big;
        ByteArrayTools little;
        big.AppendAfterDataByteArrayWithNumber(c.number, c.bytes);
        little.AppendAfterDataByteArrayWithNumberReversed(c.number, c.bytes);
        const auto hexOf = [](const ByteArrayTools& t) {
            return t.GetDataByteArraySize() == 0 ? std::u16string() : t.ToHexString();
        };
        EXPECT_EQ(hexOf(big), c.bigEndian) << c.number << " in " << c.bytes;
        EXPECT_EQ(hexOf(little), c.littleEndian) << c.number << " in " << c.bytes;
    }
}

TEST(ByteArrayToolsTest, NegativeNumbersOverflowEvenWithAnUnusableByteCount) {
    for (const std::int32_t bytes : {0, 2, 5}) {
        auto tools = ToolsWith("AA");
        EXPECT_THROW(tools.AppendAfterDataByteArrayWithNumber(-1, bytes), std::overflow_error);
        EXPECT_THROW(tools.AppendBeforeDataByteArrayWithNumberReversed(-5, bytes), std::overflow_error);
        EXPECT_EQ(tools.ToHexString(), u"AA");
    }
}

TEST(ByteArrayToolsTest, PrependingPutsHeadersInFrontInTheirOwnOrder) {
    auto tools = ToolsWith("AABB");
    tools.AppendBeforeDataByteArrayWithNumber(6, 2);
    tools.AppendBeforeDataByteArrayWithHexString(u"2A02");
    EXPECT_EQ(tools.ToHexString(), u"2A020006AABB");
    tools.AppendBeforeDataByteArrayWithByteArray(Bytes("0102"));
    tools.AppendBeforeDataByteArrayWithString(u"Hi");
    tools.AppendBeforeDataByteArrayWithNumberReversed(0x0A0B, 2);
    EXPECT_EQ(tools.ToHexString(), u"0B0A486901022A020006AABB");
    const auto longText = std::u16string(1024, u'a') + u"b";
    tools.AppendBeforeDataByteArrayWithString(longText);
    EXPECT_EQ(tools.ToStringStartLength(0, 1025), longText);
}

TEST(ByteArrayToolsTest, FailingStringKeepsTheCharactersBeforeTheFailingOne) {
    auto after = ToolsWith("AA");
    EXPECT_THROW(after.AppendAfterDataByteArrayWithString(u"ab\u0416cd"), std::overflow_error);
    EXPECT_EQ(after.ToHexString(), u"AA6162");

    auto before = ToolsWith("AA");
    EXPECT_THROW(before.AppendBeforeDataByteArrayWithString(u"ab\u0416cd"), std::overflow_error);
    EXPECT_EQ(before.ToHexString(), u"6162AA");
}

TEST(ByteArrayToolsTest, PasswordIsScrambledWithTheLoginTable) {
    ByteArrayTools tools;
    tools.AppendAfterDataByteArrayWithPassWordString(std::u16string(16, u'\0'));
    EXPECT_EQ(tools.ToHexString(), u"F32681C43986DB9271A3B9E6537A957C");

    ByteArrayTools abc;
    abc.AppendAfterDataByteArrayWithPassWordString(u"abc");
    EXPECT_THAT(abc.ToByteArray(), ElementsAre(0x61 ^ 0xF3, 0x62 ^ 0x26, 0x63 ^ 0x81));
}

TEST(ByteArrayToolsTest, FailingPasswordAppendsNothing) {
    const std::function<void(ByteArrayTools&, std::u16string_view)> appends[] = {
        [](ByteArrayTools& t, std::u16string_view v) { t.AppendAfterDataByteArrayWithPassWordString(v); },
        [](ByteArrayTools& t, std::u16string_view v) {
            t.AppendBeforeDataByteArrayWithPassWordString(v);
        }};
    for (const auto& append : appends) {
        auto tools = ToolsWith("AA");
        EXPECT_THROW(append(tools, u"12345678901234567"), std::out_of_range);
        EXPECT_THROW(append(tools, u"ok\u0416"), std::overflow_error);
        append(tools, u"");
        EXPECT_EQ(tools.ToHexString(), u"AA");
    }
}

TEST(ByteArrayToolsTest, TextRenderingShowsPrintableAsciiOnly) {
    EXPECT_EQ(ToolsWith("41007E7F20").ToString(), u"A.~. ");
    EXPECT_EQ(ToolsWith("41007E7F20").ToStringStartLength(1, 3), u".~.");
}

TEST(ByteArrayToolsTest, NumbersReadBackBySlice) {
    const auto tools = ToolsWith("2A0201020010");
    EXPECT_EQ(tools.ToNumberStartLength(2, 2), 258);
    EXPECT_EQ(tools.ToNumberReversedStartLength(2, 2), 513);
    EXPECT_EQ(tools.ToNumberStartLength(0, 1), 42);
    EXPECT_EQ(tools.ToNumberStartLength(3, 3), 0x020010);
    EXPECT_EQ(tools.ToNumberStartLength(2, 5), 0);
    EXPECT_EQ(tools.ToNumberStartLength(-1, 2), 0);
    EXPECT_EQ(tools.ToNumberStartLength(2, 0), 0);
    EXPECT_EQ(tools.ToNumberReversedStartLength(40, 0), 0);
}

TEST(ByteArrayToolsTest, FourByteReadsAboveTheSignedRangeOverflow) {
    EXPECT_THROW(ToolsWith("FFFFFFFF").ToNumberStartLength(0, 4), std::overflow_error);
    EXPECT_THROW(ToolsWith("00000080").ToNumberReversedStartLength(0, 4), std::overflow_error);
    EXPECT_EQ(ToolsWith("7FFFFFFF").ToNumberStartLength(0, 4), 2147483647);
    EXPECT_EQ(ToolsWith("FFFFFF7F").ToNumberReversedStartLength(0, 4), 2147483647);
}

TEST(ByteArrayToolsTest, SlicesPastTheEndFailAndBadSlicesAreEmpty) {
    const auto tools = ToolsWith("010203040506");
    EXPECT_THROW(tools.ToHexStringStartLength(4, 6), std::out_of_range);
    EXPECT_THROW(tools.ToByteArrayStartLength(6, 1), std::out_of_range);
    EXPECT_THROW(tools.ToStringStartLength(0, 7), std::out_of_range);
    EXPECT_THROW(tools.ToNumberStartLength(5, 2), std::out_of_range);
    EXPECT_THROW(tools.ToNumberStartLength(2147483647, 1), std::out_of_range);
    EXPECT_EQ(tools.ToHexStringStartLength(4, 2), u"0506");
    EXPECT_TRUE(tools.ToByteArrayStartLength(-1, 3).empty());
    EXPECT_TRUE(tools.ToHexStringStartLength(0, 0).empty());
    EXPECT_TRUE(tools.ToByteArrayStartLength(6, 0).empty());
    EXPECT_TRUE(tools.ToStringStartLength(2, -4).empty());
}

} // namespace
