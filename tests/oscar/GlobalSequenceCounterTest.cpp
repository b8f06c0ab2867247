#include "oscar/GlobalSequenceCounter.h"
#include "oscar/Channel1.h"
#include "oscar/Channel2.h"

#include <gtest/gtest.h>

namespace GlobalSequenceCounter = pagewing::GlobalSequenceCounter;

namespace {

class GlobalSequenceCounterTest : public ::testing::Test {
protected:
    void SetUp() override { GlobalSequenceCounter::SequenceCounter = 0; }
};

TEST_F(GlobalSequenceCounterTest, FirstFramesOfTheProcessCarryOneThenTwoAcrossChannels) {
    pagewing::Channel1 login;
    pagewing::Channel2 service;
    login.LogInToICQString(u"1", u"p");
    service.SNAC0102();
    EXPECT_EQ(login.ToHexStringStartLength(0, 4), u"2A010001");
    EXPECT_EQ(service.ToHexStringStartLength(0, 4), u"2A020002");
}

TEST_F(GlobalSequenceCounterTest, DiscardedFrameUsesUpItsNumber) {
    pagewing::Channel1 discarded;
    discarded.LogInToICQString(u"1", u"p");
    pagewing::Channel1 sent;
    sent.SendCookieToICQString(std::vector<std::uint8_t>{1});
    EXPECT_EQ(sent.ToHexStringStartLength(2, 2), u"0002");
}

TEST_F(GlobalSequenceCounterTest, WireFieldWrapsAfter65535WhileTheCounterGoesOn) {
    GlobalSequenceCounter::SequenceCounter = 65534;
    pagewing::Channel2 builder;
    const std::u16string expected[] = {u"FFFF", u"0000", u"0001"};
    for (const auto& sequence : expected) {
        builder.SNAC0106();
        EXPECT_EQ(builder.ToHexStringStartLength(2, 2), sequence);
    }
    EXPECT_EQ(GlobalSequenceCounter::SequenceCounter, 65537);
}

TEST_F(GlobalSequenceCounterTest, CounterStartsAgainAtZeroAfterTheSignedMaximum) {
    GlobalSequenceCounter::SequenceCounter = 2147483646;
    EXPECT_EQ(GlobalSequenceCounter::NextSequenceNumber(), 2147483647);
    EXPECT_EQ(GlobalSequenceCounter::NextSequenceNumber(), 0);
    EXPECT_EQ(GlobalSequenceCounter::NextSequenceNumber(), 1);
}

} // namespace
