#include "oscar/FlapStreamReassembler.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

using pagewing::FlapStreamReassembler;
using pagewing::test::Bytes;
using pagewing::test::Concat;

namespace {

using Frames = std::vector<std::vector<std::uint8_t>>;

void TakeAll(FlapStreamReassembler& stream, Frames& frames) {
    for (auto frame = stream.NextFrame(); !frame.empty(); frame = stream.NextFrame()) {
        frames.emplace_back(frame.begin(), frame.end());
    }
}

const auto Hello = Bytes("2A01 0001 0004 00000001");
const auto Reply = Bytes("2A04 0002 0008 0005 0004 31323334");

TEST(FlapStreamReassemblerTest, FramesCutAtEveryPointComeOutWholeAndGarbageIsSkipped) {
    // Text that holds '*' (0x2A) followed by anything but a channel from 1 to 5, then a real frame: taken for
    // a frame start, the first 0x2A would have the stream wait for thousands of bytes and swallow the frame.
    const auto stream = Concat({Bytes("41 2A 20 42 2A 00 2A 06 2A FF 10 2A"), Reply, Bytes("2A 2A"), Hello,
                                Bytes("2A05 0003 0000")});
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        FlapStreamReassembler reassembler;
        Frames frames;
        reassembler.Append(std::span(stream).first(cut));
        TakeAll(reassembler, frames);
        reassembler.Append(std::span(stream).subspan(cut));
        TakeAll(reassembler, frames);
        EXPECT_EQ(frames, (Frames{Reply, Hello, Bytes("2A05 0003 0000")})) << "cut at " << cut;
        EXPECT_EQ(reassembler.HeldBytes(), 0u);
    }
}

TEST(FlapStreamReassemblerTest, HoldsAtMostOneIncompleteFrame) {
    FlapStreamReassembler stream;
    std::vector<std::uint8_t> largest(FlapStreamReassembler::LargestFrame, 0x11);
    largest[0] = 0x2A;
    largest[1] = 0x02;
    largest[4] = 0xFF;
    largest[5] = 0xFF;
    stream.Append(std::span(largest).first(largest.size() - 1));
    EXPECT_TRUE(stream.NextFrame().empty());
    EXPECT_EQ(stream.HeldBytes(), largest.size() - 1);
    stream.Append(std::span(largest).last(1));
    EXPECT_EQ(stream.NextFrame().size(), largest.size());
    stream.Append(Hello);
    EXPECT_EQ(stream.HeldBytes(), Hello.size());
}

} // namespace
