#include "gateway-sim/CodePage1252.h"
#include "gateway-sim/FlapStreamCutter.h"
#include "gateway-sim/PasswordScrambler.h"
#include "gateway-sim/TlvList.h"

#include "gateway-sim/TestPackets.h"

#include <gtest/gtest.h>

using namespace pagewing::sim;
using pagewing::sim::test::Hex;

namespace {

using Frames = QList<QByteArray>;

Frames TakeFrames(FlapStreamCutter& cutter) {
    Frames frames;
    while (const auto frame = cutter.NextFrame()) {
        frames.append(frame->ToBytes());
    }
    return frames;
}

const Frames Sent{Hex("2A01 7FFF 0004 00000001"), Hex("2A04 8000 0008 0005 0004 31323334"),
                  Hex("2A05 8001 0000")};

TEST(FlapStreamCutterTest, FramesCutAtEveryPointComeOutWholeAndInOrder) {
    const auto stream = Sent.join();
    for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
        FlapStreamCutter cutter;
        cutter.Append(stream.first(cut));
        auto frames = TakeFrames(cutter);
        cutter.Append(stream.sliced(cut));
        frames += TakeFrames(cutter);
        EXPECT_EQ(frames, Sent) << "cut at " << cut;
        EXPECT_EQ(cutter.HeldBytes(), 0);
    }
}

TEST(FlapStreamCutterTest, BytesBeforeAStartMarkerAreSkippedAndCounted) {
    FlapStreamCutter cutter;
    cutter.Append(Hex("00 FF 17") + Sent[0] + Hex("41 42") + Sent[1] + Hex("2A 02 00"));
    EXPECT_EQ(TakeFrames(cutter), Sent.first(2));
    EXPECT_EQ(cutter.TakeSkippedBytes(), 5);
    EXPECT_EQ(cutter.TakeSkippedBytes(), 0);
    EXPECT_EQ(cutter.HeldBytes(), 3) << "a started header waits for its rest";
}

TEST(TlvListTest, FindsTheFirstOfATypeInAnyOrderAndRefusesTruncation) {
    const auto tlvs = TlvList::Parse(Hex("0099 0000  0002 0003 414243  0001 0001 58  0002 0001 59"));
    ASSERT_TRUE(tlvs);
    EXPECT_EQ(tlvs->Find(0x0001), QByteArray("X"));
    EXPECT_EQ(tlvs->Find(0x0002), QByteArray("ABC"));
    EXPECT_FALSE(tlvs->Find(0x0006));
    for (const char* hex : {"00", "0001 00", "0001 0004 414243", "0001 0001 41  0002"}) {
        EXPECT_FALSE(TlvList::Parse(Hex(hex))) << hex;
    }
}

TEST(PasswordScramblerTest, KnownPasswordsScrambleBothWays) {
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"pagewing", Hex("83 47 E6 A1 4E EF B5 F5")},
        {"0123456789abcdef", Hex("C3 17 B3 F7 0D B3 ED A5 49 9A D8 84 30 1E F0 1A")},
        {Hex("70 80 73 73"), Hex("83 A6 F2 B7")},
    };
    for (const auto& [password, scrambled] : cases) {
        EXPECT_EQ(PasswordScrambler::Apply(password), scrambled) << password.toStdString();
        EXPECT_EQ(PasswordScrambler::Apply(scrambled), password) << password.toStdString();
    }
    EXPECT_FALSE(PasswordScrambler::Apply(QByteArray(17, 'a'))) << "no client sends more than 16";
}

TEST(CodePage1252Test, HighRangeMapsBothWaysAndForeignCharactersDoNotEncode) {
    const QString text = QStringLiteral("a\u20AC\u2122\u0178\u00E9\u00FF");
    EXPECT_EQ(CodePage1252::Encode(text), Hex("61 80 99 9F E9 FF"));
    EXPECT_EQ(CodePage1252::Decode(Hex("61 80 99 9F E9 FF")), text);
    EXPECT_EQ(CodePage1252::Decode(Hex("81 9D")), QStringLiteral("\u0081\u009D")) << "unassigned bytes";
    EXPECT_FALSE(CodePage1252::Encode(u"\u0416"));
    EXPECT_FALSE(CodePage1252::Encode(u"\u0080")) << "0x80 is the euro sign, not this control";
}

} // namespace
