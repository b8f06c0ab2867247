#include "bytes/ByteArrayTools.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

#include <stdexcept>

using pagewing::ByteArrayTools;
using pagewing::test::Bytes;

namespace {

ByteArrayTools ToolsWith(std::string_view hex) {
    ByteArrayTools tools;
    tools.AppendAfterDataByteArrayWithByteArray(Bytes(hex));
    return tools;
}

TEST(ByteArrayToolsTest, RenderingsOfTheData) {
    // No data reads as one zero byte.
    const ByteArrayTools empty;
    EXPECT_EQ(empty.GetDataByteArraySize(), 0);
    EXPECT_EQ(empty.ToHexString(), u"00");
    EXPECT_EQ(empty.ToString(), u".");
    EXPECT_EQ(empty.ToByteArray(), Bytes("00"));
    // Text shows printable ASCII only.
    const auto tools = ToolsWith("41001F7E7F20");
    EXPECT_EQ(tools.ToString(), u"A..~. ");
    EXPECT_EQ(tools.ToStringStartLength(1, 3), u"..~");
}

TEST(ByteArrayToolsTest, HexStringsAreReadInEitherCaseAndWrittenUpperCase) {
    ByteArrayTools tools;
    tools.AppendAfterDataByteArrayWithHexString(u"2a01");
    tools.AppendAfterDataByteArrayWithHexString(u"fFaB");
    // A character that is no hex digit counts as 0; an odd count of characters adds nothing.
    tools.AppendAfterDataByteArrayWithHexString(u"x1G1  -F");
    for (const auto* unusable : {u"", u"1", u"ABC", u"2A 01"}) {
        tools.AppendAfterDataByteArrayWithHexString(unusable);
        tools.AppendBeforeDataByteArrayWithHexString(unusable);
    }
    EXPECT_EQ(tools.ToByteArray(), Bytes("2A01 FFAB 0101 000F"));
    EXPECT_EQ(tools.ToHexString(), u"2A01FFAB0101000F");
}

TEST(ByteArrayToolsTest, NumbersInBothByteOrders) {
    ByteArrayTools big;
    ByteArrayTools little;
    const std::pair<std::int32_t, std::int32_t> numbersAndSizes[] = {
        {16909060, 4}, {16909060, 2}, {258, 1}, {258, 0}, {258, 5}, {2147483647, 4}};
    for (const auto& [number, size] : numbersAndSizes) {
        big.AppendAfterDataByteArrayWithNumber(number, size);
        little.AppendAfterDataByteArrayWithNumberReversed(number, size);
    }
    // A size outside 1 to 4 adds nothing; a negative number fails whatever the size.
    EXPECT_EQ(big.ToHexString(), u"01020304030402"
                                 u"7FFFFFFF");
    EXPECT_EQ(little.ToHexString(), u"04030201040302"
                                    u"FFFFFF7F");
    for (const std::int32_t size : {0, 2, 5}) {
        EXPECT_THROW(big.AppendAfterDataByteArrayWithNumber(-1, size), std::overflow_error);
        EXPECT_THROW(big.AppendBeforeDataByteArrayWithNumberReversed(-5, size), std::overflow_error);
    }
    EXPECT_EQ(big.GetDataByteArraySize(), 11);
}

TEST(ByteArrayToolsTest, PrependingPutsHeadersInFrontInTheirOwnOrder) {
    auto tools = ToolsWith("AABB");
    tools.AppendBeforeDataByteArrayWithNumber(6, 2);
    tools.AppendBeforeDataByteArrayWithHexString(u"2A02");
    tools.AppendBeforeDataByteArrayWithByteArray(Bytes("0102"));
    tools.AppendBeforeDataByteArrayWithString(u"Hi");
    tools.AppendBeforeDataByteArrayWithNumberReversed(0x0A0B, 2);
    EXPECT_THROW(tools.AppendBeforeDataByteArrayWithByteArray({}), std::out_of_range);
    EXPECT_THROW(tools.AppendAfterDataByteArrayWithByteArray({}), std::out_of_range);
    EXPECT_EQ(tools.ToHexString(), u"0B0A486901022A020006AABB");
    // A text longer than the pieces that texts after the data go in keeps its order in front too.
    const auto longText = std::u16string(1024, u'a') + u"b";
    tools.AppendBeforeDataByteArrayWithString(longText);
    EXPECT_EQ(tools.ToStringStartLength(0, 1025), longText);
}

TEST(ByteArrayToolsTest, FailingStringKeepsTheCharactersBeforeTheFailingOne) {
    // After the data a long text goes in pieces; the piece that fails keeps its start too.
    const auto longText = std::u16string(1030, u'a') + u"\u0416";
    auto after = ToolsWith("AA");
    EXPECT_THROW(after.AppendAfterDataByteArrayWithString(longText), std::overflow_error);
    EXPECT_EQ(after.GetDataByteArraySize(), 1031);
    EXPECT_EQ(after.ToStringStartLength(1, 1030), longText.substr(0, 1030));
    auto before = ToolsWith("AA");
    EXPECT_THROW(before.AppendBeforeDataByteArrayWithString(u"ab\u0416cd"), std::overflow_error);
    EXPECT_EQ(before.ToHexString(), u"6162AA");
}

TEST(ByteArrayToolsTest, PasswordIsScrambledWithTheLoginTableOrNotAtAll) {
    ByteArrayTools tools;
    tools.AppendAfterDataByteArrayWithPassWordString(std::u16string(16, u'\0'));
    tools.AppendBeforeDataByteArrayWithPassWordString(u"abc");
    EXPECT_EQ(tools.ToHexString(), u"9244E2"
                                   u"F32681C43986DB9271A3B9E6537A957C");
    EXPECT_THROW(tools.AppendAfterDataByteArrayWithPassWordString(u"12345678901234567"), std::out_of_range);
    EXPECT_THROW(tools.AppendBeforeDataByteArrayWithPassWordString(u"12345678901234567"), std::out_of_range);
    EXPECT_THROW(tools.AppendAfterDataByteArrayWithPassWordString(u"ok\u0416"), std::overflow_error);
    EXPECT_THROW(tools.AppendBeforeDataByteArrayWithPassWordString(u"ok\u0416"), std::overflow_error);
    tools.AppendAfterDataByteArrayWithPassWordString(u"");
    EXPECT_EQ(tools.GetDataByteArraySize(), 19);
}

TEST(ByteArrayToolsTest, NumbersReadBackBySlice) {
    const auto tools = ToolsWith("2A0201020010");
    EXPECT_EQ(tools.ToNumberStartLength(2, 2), 258);
    EXPECT_EQ(tools.ToNumberReversedStartLength(2, 2), 513);
    EXPECT_EQ(tools.ToNumberStartLength(0, 1), 42);
    EXPECT_EQ(tools.ToNumberStartLength(3, 3), 0x020010);
    // A size outside 1 to 4 or a negative start reads 0.
    EXPECT_EQ(tools.ToNumberStartLength(2, 5), 0);
    EXPECT_EQ(tools.ToNumberStartLength(-1, 2), 0);
    EXPECT_EQ(tools.ToNumberReversedStartLength(40, 0), 0);
    EXPECT_THROW(ToolsWith("FFFFFFFF").ToNumberStartLength(0, 4), std::overflow_error);
    EXPECT_THROW(ToolsWith("00000080").ToNumberReversedStartLength(0, 4), std::overflow_error);
    EXPECT_EQ(ToolsWith("FFFFFF7F").ToNumberReversedStartLength(0, 4), 2147483647);
}

TEST(ByteArrayToolsTest, SlicesPastTheEndFailAndBadSlicesAreEmpty) {
    const auto tools = ToolsWith("010203040506");
    EXPECT_THROW(tools.ToHexStringStartLength(4, 3), std::out_of_range);
    EXPECT_THROW(tools.ToByteArrayStartLength(6, 1), std::out_of_range);
    EXPECT_THROW(tools.ToNumberStartLength(2147483647, 1), std::out_of_range);
    EXPECT_EQ(tools.ToHexStringStartLength(4, 2), u"0506");
    EXPECT_TRUE(tools.ToByteArrayStartLength(-1, 3).empty());
    EXPECT_TRUE(tools.ToByteArrayStartLength(6, 0).empty()); // zero bytes right at the end
    EXPECT_TRUE(tools.ToStringStartLength(2, -4).empty());
}

} // namespace
