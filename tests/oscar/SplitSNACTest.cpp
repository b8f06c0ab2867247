#include "oscar/SplitSNAC.h"

#include "support/HexBytes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

using pagewing::SplitSNAC;
using pagewing::test::Bytes;
using ::testing::ElementsAre;

namespace {

const auto Hello = Bytes("2A01 1234 0004 00000001");
const auto TwoTlvReply = Bytes("2A04 0005 000C 0005 0003 414243 0006 0001 FF");
const auto SmsReply = Bytes("2A02 0007 000A 0015 0003 0000 00000001");

TEST(SplitSNACTest, HelloIsOneEntryOfIdZero) {
    SplitSNAC reader;
    reader.SplitPacket(Hello);
    EXPECT_TRUE(reader.GetSucceed());
    EXPECT_EQ(reader.GetChannelID(), 1);
    EXPECT_EQ(reader.GetPacketSequence(), 4660);
    EXPECT_EQ(reader.GetTotalLength(), 4);
    EXPECT_EQ(reader.GetTLVEnumSize(), 1);
    EXPECT_EQ(reader.GetTLVID(0), 0);
    EXPECT_EQ(reader.GetTLVStart(0), 0);
    EXPECT_EQ(reader.GetTLVLength(0), 0);
    EXPECT_EQ(reader.GetTLVDataString(0), u"");
    EXPECT_TRUE(reader.GetTLVDataByteArray(0).empty());
}

TEST(SplitSNACTest, AuthorizationReplyTlvsAreEnumerated) {
    SplitSNAC reader;
    reader.SplitPacket(TwoTlvReply);
    EXPECT_TRUE(reader.GetSucceed());
    EXPECT_EQ(reader.GetChannelID(), 4);
    ASSERT_EQ(reader.GetTLVEnumSize(), 2);
    EXPECT_EQ(reader.GetTLVID(0), 5);
    EXPECT_EQ(reader.GetTLVStart(0), 10);
    EXPECT_EQ(reader.GetTLVLength(0), 3);
    EXPECT_EQ(reader.GetTLVDataString(0), u"ABC");
    EXPECT_EQ(reader.GetTLVID(1), 6);
    EXPECT_EQ(reader.GetTLVStart(1), 17);
    EXPECT_EQ(reader.GetTLVLength(1), 1);
    EXPECT_THAT(reader.GetTLVDataByteArray(1), ElementsAre(0xFF));
    EXPECT_EQ(reader.GetTLVDataHexString(1), u"FF");
    EXPECT_EQ(reader.IsTLVPresent(6), 1);
    EXPECT_EQ(reader.IsTLVPresent(8), -1);
}

TEST(SplitSNACTest, IndexIsBroughtIntoRange) {
    SplitSNAC reader;
    reader.SplitPacket(TwoTlvReply);
    EXPECT_EQ(reader.GetTLVID(-5), 5);
    EXPECT_EQ(reader.GetTLVID(9), 6);
}

TEST(SplitSNACTest, LastTlvOfARepeatedTypeIsFound) {
    SplitSNAC reader;
    reader.SplitPacket(Bytes("2A04 0001 000A 0005 0001 41 0005 0001 42"));
    EXPECT_EQ(reader.IsTLVPresent(5), 1);
    EXPECT_EQ(reader.GetTLVDataString(reader.IsTLVPresent(5)), u"B");
}

TEST(SplitSNACTest, TlvsOfAnEarlierFrameAreForgotten) {
    SplitSNAC reader;
    reader.SplitPacket(Bytes("2A04 0001 000F 0005 0001 41 0006 0001 42 0008 0001 43"));
    reader.SplitPacket(TwoTlvReply);
    EXPECT_EQ(reader.IsTLVPresent(8), -1);
}

TEST(SplitSNACTest, BlocksThatAreNotExactlyOneFrameAreNotRecognised) {
    const std::vector<std::uint8_t> blocks[] = {
        Bytes("2A04 0009 000C 0005 0003 414243 0006 0001"),                   // cut short
        Bytes("2A04 0009 000C 0005 0003 414243 0006 0001 FF 2A04 0001 0000"), // two frames
        Bytes("2A04 0009 0004 0005 0000"),                                    // ten bytes, empty value
        Bytes("2A02 0009 000A 0015 0003 0000 000000"),                        // SNAC cut short
        Bytes("2A02 0009 0003 0015 00"),                                      // whole, short of a SNAC
    };
    for (const auto& block : blocks) {
        SplitSNAC reader;
        reader.SplitPacket(block);
        EXPECT_FALSE(reader.GetSucceed());
        EXPECT_EQ(reader.GetTLVEnumSize(), 0);
        EXPECT_EQ(reader.GetPacketSequence(), 9);
        EXPECT_EQ(reader.GetChannelID(), block[1]);
    }
}

TEST(SplitSNACTest, TlvClaimingMoreThanTheFrameEndsTheWalkAndFailsOnRead) {
    SplitSNAC reader;
    reader.SplitPacket(Bytes("2A04 0001 000A 0001 0001 41 0005 0050 42"));
    EXPECT_TRUE(reader.GetSucceed());
    ASSERT_EQ(reader.GetTLVEnumSize(), 2);
    EXPECT_EQ(reader.GetTLVLength(1), 0x50);
    EXPECT_THROW(reader.GetTLVDataString(1), std::out_of_range);
    EXPECT_EQ(reader.GetTLVDataString(0), u"A");
}

TEST(SplitSNACTest, SnacFrameGivesFamilySubtypeAndText) {
    SplitSNAC reader;
    reader.SplitPacket(SmsReply);
    EXPECT_TRUE(reader.GetSucceed());
    EXPECT_EQ(reader.GetSNACFamily(), 21);
    EXPECT_EQ(reader.GetSNACSubtype(), 3);
    EXPECT_EQ(reader.GetTLVEnumSize(), 0);
    EXPECT_EQ(reader.GetSNACString().size(), 16u);
    EXPECT_EQ(reader.GetSNACString().substr(0, 2), u"*.");
    reader.SplitPacket(Bytes("2A02 0008 0004 0001 0013")); // family and subtype, nothing more
    EXPECT_TRUE(reader.GetSucceed());
    EXPECT_EQ(reader.GetSNACSubtype(), 0x13);
}

TEST(SplitSNACTest, UnrecognisedBlockKeepsEarlierHeaderAndSnacFields) {
    SplitSNAC reader;
    reader.SplitPacket(SmsReply);
    for (const auto& block : {Bytes("2B02 0001 0000"), Bytes("2A02 00"), Bytes("00")}) {
        reader.SplitPacket(block);
        EXPECT_FALSE(reader.GetSucceed());
        EXPECT_EQ(reader.GetTLVEnumSize(), 0);
        EXPECT_EQ(reader.GetChannelID(), 2);
        EXPECT_EQ(reader.GetPacketSequence(), 7);
        EXPECT_EQ(reader.GetTotalLength(), 10);
        EXPECT_EQ(reader.GetSNACFamily(), 21);
        EXPECT_EQ(reader.GetSNACString().size(), 16u);
    }
}

TEST(SplitSNACTest, EmptyBlockFailsAndClearsTheEnumeration) {
    SplitSNAC reader;
    reader.SplitPacket(TwoTlvReply);
    EXPECT_THROW(reader.SplitPacket({}), std::out_of_range);
    EXPECT_FALSE(reader.GetSucceed());
    EXPECT_EQ(reader.GetTLVEnumSize(), 0);
    EXPECT_EQ(reader.GetChannelID(), 4);
}

} // namespace
