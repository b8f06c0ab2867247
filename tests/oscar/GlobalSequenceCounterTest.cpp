#include "oscar/GlobalSequenceCounter.h"
#include "oscar/Channel1.h"
#include "oscar/Channel2.h"

#include <gtest/gtest.h>

namespace GlobalSequenceCounter = pagewing::GlobalSequenceCounter;

namespace {

TEST(GlobalSequenceCounterTest, FramesOfBothChannelsAreNumberedFromOneCounterThatWraps) {
    // The process is new: its first frame carries 1.
    pagewing::Channel1 login;
    pagewing::Channel2 service;
    login.LogInToICQString(u"1", u"p");
    service.SNAC0102();
    EXPECT_EQ(login.ToHexStringStartLength(0, 4), u"2A010001");
    EXPECT_EQ(service.ToHexStringStartLength(0, 4), u"2A020002");
    // The wire carries the low 16 bits; the counter itself starts again at 0 after the signed maximum.
    const struct {
        std::int32_t before;
        std::u16string field;
        std::int32_t after;
    } cases[] = {{65534, u"FFFF", 65535},
                 {65535, u"0000", 65536},
                 {2147483646, u"FFFF", 2147483647},
                 {2147483647, u"0000", 0}};
    for (const auto& c : cases) {
        GlobalSequenceCounter::SequenceCounter = c.before;
        service.SNAC0102();
        EXPECT_EQ(service.ToHexStringStartLength(2, 2), c.field) << c.before;
        EXPECT_EQ(GlobalSequenceCounter::SequenceCounter, c.after) << c.before;
    }
}

} // namespace
