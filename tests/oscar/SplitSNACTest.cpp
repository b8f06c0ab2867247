#include "oscar/SplitSNAC.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

#include <tuple>

using pagewing::SplitSNAC;
using pagewing::test::Bytes;

namespace {

SplitSNAC Read(std::string_view hex) {
    SplitSNAC reader;
    reader.SplitPacket(Bytes(hex));
    return reader;
}

TEST(SplitSNACTest, HelloIsOneEntryOfIdZero) {
    const SplitSNAC fresh;
    EXPECT_EQ(std::tuple(fresh.GetSucceed(), fresh.GetChannelID(), fresh.GetPacketSequence(),
                         fresh.GetTotalLength(), fresh.GetTLVEnumSize(), fresh.GetSNACFamily(),
                         fresh.GetSNACSubtype()),
              std::tuple(false, 0, 0, 0, 0, 0, 0));
    const auto reader = Read("2A01 1234 0004 00000001");
    EXPECT_TRUE(reader.GetSucceed());
    EXPECT_EQ(std::tuple(reader.GetChannelID(), reader.GetPacketSequence(), reader.GetTotalLength()),
              std::tuple(1, 0x1234, 4));
    ASSERT_EQ(reader.GetTLVEnumSize(), 1);
    EXPECT_EQ(std::tuple(reader.GetTLVID(0), reader.GetTLVStart(0), reader.GetTLVLength(0)),
              std::tuple(0, 0, 0));
}

TEST(SplitSNACTest, AuthorizationReplyTlvsAreEnumerated) {
    const auto reader = Read("2A04 0005 000C 0005 0003 414243 0006 0001 FF");
    EXPECT_TRUE(reader.GetSucceed());
    EXPECT_EQ(reader.GetChannelID(), 4);
    ASSERT_EQ(reader.GetTLVEnumSize(), 2);
    EXPECT_EQ(std::tuple(reader.GetTLVID(0), reader.GetTLVStart(0), reader.GetTLVLength(0)),
              std::tuple(5, 10, 3));
    EXPECT_EQ(reader.GetTLVDataString(0), u"ABC");
    EXPECT_EQ(std::tuple(reader.GetTLVID(1), reader.GetTLVStart(1), reader.GetTLVLength(1)),
              std::tuple(6, 17, 1));
    EXPECT_EQ(reader.GetTLVDataByteArray(1), Bytes("FF"));
    EXPECT_EQ(reader.GetTLVDataHexString(1), u"FF");
    EXPECT_EQ(reader.IsTLVPresent(6), 1);
    EXPECT_EQ(reader.IsTLVPresent(8), -1);
}

TEST(SplitSNACTest, TlvLookupFindsTheLastOfATypeInTheLatestFrameOnly) {
    SplitSNAC reader;
    reader.SplitPacket(Bytes("2A04 0001 000F 0008 0001 43 0005 0001 41 0005 0001 42"));
    EXPECT_EQ(reader.GetTLVDataString(reader.IsTLVPresent(5)), u"B");
    reader.SplitPacket(Bytes("2A04 0002 0005 0005 0001 41"));
    EXPECT_EQ(reader.IsTLVPresent(8), -1);
    EXPECT_EQ(reader.IsTLVPresent(5), 0);
}

TEST(SplitSNACTest, BlocksThatAreNotExactlyOneFrameAreNotRecognised) {
    for (const auto* block : {
             "2A04 0009 000C 0005 0003 414243 0006 0001",                   // cut short
             "2A04 0009 000C 0005 0003 414243 0006 0001 FF 2A04 0001 0000", // two frames
             "2A04 0009 0004 0005 0000",                                    // ten bytes, empty value
             "2A02 0009 000A 0015 0003 0000 000000",                        // SNAC cut short
             "2A02 0009 0003 0015 00",                                      // whole, short of a SNAC
         }) {
        const auto reader = Read(block);
        EXPECT_FALSE(reader.GetSucceed()) << block;
        EXPECT_EQ(reader.GetTLVEnumSize(), 0) << block;
        EXPECT_EQ(reader.GetPacketSequence(), 9) << block;
    }
}

TEST(SplitSNACTest, SnacFrameGivesFamilySubtypeAndText) {
    auto reader = Read("2A02 0007 000A 0015 0003 0000 00000001");
    EXPECT_TRUE(reader.GetSucceed());
    EXPECT_EQ(reader.GetSNACFamily(), 0x15);
    EXPECT_EQ(reader.GetSNACSubtype(), 3);
    EXPECT_EQ(reader.GetTLVEnumSize(), 0);
    EXPECT_EQ(reader.GetSNACString(), u"*" + std::u16string(15, u'.'));
    reader = Read("2A02 0008 0004 0001 0013"); // family and subtype, nothing more
    EXPECT_TRUE(reader.GetSucceed());
    EXPECT_EQ(reader.GetSNACSubtype(), 0x13);
}

} // namespace
