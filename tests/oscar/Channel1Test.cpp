#include "oscar/Channel1.h"
#include "oscar/GlobalSequenceCounter.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

using pagewing::Channel1;
using pagewing::test::AsciiBytes;
using pagewing::test::Bytes;
using pagewing::test::Concat;

namespace {

class Channel1Test : public ::testing::Test {
protected:
    void SetUp() override { pagewing::GlobalSequenceCounter::SequenceCounter = 0; }
    Channel1 Builder;
};

TEST_F(Channel1Test, LoginFrameHoldsEveryTlvInOrder) {
    Builder.LogInToICQString(u"123456789", u"abc");
    EXPECT_EQ(Builder.ToByteArray(),
              Concat({Bytes("2A01 0001 0081 00000001 0001 0009"), AsciiBytes("123456789"),
                      Bytes("0002 0003 9244E2 0003 0033"),
                      AsciiBytes("ICQ Inc. - Product of ICQ (TM).2001b.5.15.1.3634.85"),
                      // Client id, major, minor and lesser version, build, distribution, language, country.
                      Bytes("0016 0002 010A  0017 0002 0005  0018 0002 000F  0019 0002 0001  001A 0002 0032"
                            "0014 0004 00000055  000F 0002 656E  000E 0002 7573")}));
}

TEST_F(Channel1Test, CookieFrameReplacesTheLoginWithTheNextNumber) {
    Builder.LogInToICQString(u"123456789", u"abc");
    Builder.SendCookieToICQString(Bytes("C00C"));
    EXPECT_EQ(Builder.ToByteArray(), Bytes("2A01 0002 000A 00000001 0006 0002 C00C"));
}

} // namespace
