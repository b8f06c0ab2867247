#include "oscar/Channel1.h"
#include "oscar/GlobalSequenceCounter.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

#include <stdexcept>

using pagewing::Channel1;
using pagewing::test::AsciiBytes;
using pagewing::test::Bytes;
using pagewing::test::Concat;

namespace {

std::vector<std::uint8_t> LoginPayload(std::string_view uin, std::vector<std::uint8_t> scrambledPassword) {
    return Concat({Bytes("00000001 0001"),
                   Bytes(uin.size() == 9 ? "0009" : "0000"),
                   AsciiBytes(uin),
                   Bytes("0002"),
                   {0, static_cast<std::uint8_t>(scrambledPassword.size())},
                   scrambledPassword,
                   Bytes("0003 0033"),
                   AsciiBytes("ICQ Inc. - Product of ICQ (TM).2001b.5.15.1.3634.85"),
                   Bytes("0016 0002 010A  0017 0002 0005  0018 0002 000F  0019 0002 0001  001A 0002 0032"
                         "0014 0004 00000055  000F 0002 656E  000E 0002 7573")});
}

class Channel1Test : public ::testing::Test {
protected:
    void SetUp() override { pagewing::GlobalSequenceCounter::SequenceCounter = 0; }
    Channel1 Builder;
};

TEST_F(Channel1Test, LoginFrameHoldsEveryTlvInOrder) {
    Builder.LogInToICQString(u"123456789", u"abc");
    const auto frame = Builder.ToByteArray();
    const auto payload = LoginPayload("123456789", Bytes("92 44 E2"));
    ASSERT_EQ(payload.size(), 129u);
    EXPECT_EQ(frame, Concat({Bytes("2A01 0001 0081"), payload}));
    EXPECT_EQ(frame.size(), 135u);
    EXPECT_EQ(Builder.ToHexStringStartLength(6, 8), u"0000000100010009");
    EXPECT_EQ(Builder.ToStringStartLength(14, 9), u"123456789");
    EXPECT_EQ(Builder.ToHexStringStartLength(123, 12), u"000F0002656E000E00027573");
}

TEST_F(Channel1Test, EmptyUinAndPasswordGiveEmptyTlvs) {
    Builder.LogInToICQString(u"", u"");
    EXPECT_EQ(Builder.ToByteArray(), Concat({Bytes("2A01 0001 0075"), LoginPayload("", {})}));
}

TEST_F(Channel1Test, SixteenCharacterPasswordIsScrambledInFull) {
    Builder.LogInToICQString(u"1", std::u16string(16, u'\0'));
    EXPECT_EQ(Builder.ToHexStringStartLength(15, 20), u"00020010F32681C43986DB9271A3B9E6537A957C");
}

TEST_F(Channel1Test, FailedBuildsThrowWithoutTakingASequenceNumber) {
    EXPECT_THROW(Builder.LogInToICQString(u"1", u"12345678901234567"), std::out_of_range);
    EXPECT_THROW(Builder.LogInToICQString(u"1\u0416", u"p"), std::overflow_error);
    EXPECT_THROW(Builder.LogInToICQString(u"1", u"\u20AD"), std::overflow_error);
    EXPECT_THROW(Builder.LogInToICQString(std::u16string(70000, u'1'), u"p"), std::length_error);
    EXPECT_THROW(Builder.SendCookieToICQString({}), std::out_of_range);
    EXPECT_THROW(Builder.SendCookieToICQString(std::vector<std::uint8_t>(65536)), std::length_error);
    EXPECT_EQ(pagewing::GlobalSequenceCounter::SequenceCounter, 0);
}

TEST_F(Channel1Test, CookieFrameCarriesTlvSix) {
    std::vector<std::uint8_t> cookie(256);
    for (std::size_t i = 0; i < cookie.size(); ++i) {
        cookie[i] = static_cast<std::uint8_t>(255 - i);
    }
    Builder.SendCookieToICQString(cookie);
    EXPECT_EQ(Builder.ToByteArray(), Concat({Bytes("2A01 0001 0108 00000001 0006 0100"), cookie}));
}

TEST_F(Channel1Test, LargestCookieThatFitsTheFrame) {
    // 8 payload bytes before the cookie leave 65527 for it.
    Builder.SendCookieToICQString(std::vector<std::uint8_t>(65527, 0x5A));
    EXPECT_EQ(Builder.ToHexStringStartLength(0, 14), u"2A010001FFFF000000010006FFF7");
    EXPECT_THROW(Builder.SendCookieToICQString(std::vector<std::uint8_t>(65528, 0x5A)), std::length_error);
}

TEST_F(Channel1Test, SecondBuildReplacesTheFirstWithTheNextNumber) {
    Builder.LogInToICQString(u"123456789", u"abc");
    Builder.SendCookieToICQString(std::vector<std::uint8_t>{0xC0, 0x0C});
    EXPECT_EQ(Builder.ToHexString(), u"2A010002000A000000010006"
                                     u"0002C00C");
}

} // namespace
