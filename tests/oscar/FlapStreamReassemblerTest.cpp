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

const auto Reply = Bytes("2A04 7FFE 0008 0005 0004 31323334");
const auto Hello = Bytes("2A01 7FFF 0004 00000001");
// After 0x7FFF: this server wraps to 0 rather than going on to 0x8000.
const auto KeepAlive = Bytes("2A05 0000 0000");

TEST(FlapStreamReassemblerTest, FramesCutAtEveryPointComeOutWholeAndGarbageIsSkipped) {
    // A '*' (0x2A) followed by anything but a channel from 1 to 5, or by a sequence number out of step and
    // neither a length that a server sends nor a header after it in step: taken for a frame start, it would
    // have the stream wait for a made-up frame and swallow the real ones behind it.
    const auto stream = Concat({Bytes("41 2A 20 42 2A 00 2A 06 2A FF 10 2A"), Reply,
                                Bytes("2A 2A2A02 1234 0000 2A04 5678 2001"), Hello, KeepAlive});
    FlapStreamReassembler reassembler;
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        // A new connection: its first frame may carry any number.
        reassembler.Reset();
        Frames frames;
        reassembler.Append(std::span(stream).first(cut));
        TakeAll(reassembler, frames);
        reassembler.Append(std::span(stream).subspan(cut));
        TakeAll(reassembler, frames);
        EXPECT_EQ(frames, (Frames{Reply, Hello, KeepAlive})) << "cut at " << cut;
        EXPECT_EQ(reassembler.HeldBytes(), 0u);
    }
}

TEST(FlapStreamReassemblerTest, HoldsAtMostOneIncompleteFrameOfTheLongestPayloadAServerSends) {
    FlapStreamReassembler stream;
    std::vector<std::uint8_t> largest(FlapStreamReassembler::LargestFrame, 0x11);
    std::copy_n(Bytes("2A02 7FFF 2000").begin(), 6, largest.begin());
    stream.Append(std::span(largest).first(largest.size() - 1));
    EXPECT_TRUE(stream.NextFrame().empty());
    EXPECT_EQ(stream.HeldBytes(), largest.size() - 1);
    stream.Append(std::span(largest).last(1));
    EXPECT_EQ(stream.NextFrame().size(), largest.size());
}

TEST(FlapStreamReassemblerTest, AServerThatSkipsNumbersOrSendsTooMuchIsFollowed) {
    const auto frame = [](std::string_view sequence, std::size_t payload) {
        auto bytes = Concat({Bytes("2A02"),
                             Bytes(sequence),
                             {static_cast<std::uint8_t>(payload >> 8), static_cast<std::uint8_t>(payload)}});
        bytes.resize(6 + payload, 0x3C);
        return bytes;
    };
    // A frame longer than a server sends, skipped by its length; numbers that jump; another one far longer.
    const auto first = frame("0100", 12);
    const Frames wanted{first, frame("0103", 40), frame("0104", 8192), frame("0105", 0), frame("0107", 30)};
    const auto stream = Concat(
        {first, frame("0101", 8193), wanted[1], wanted[2], wanted[3], frame("0106", 65000), wanted[4]});
    FlapStreamReassembler reassembler;
    Frames frames;
    for (std::size_t at = 0; at < stream.size(); at += 1000) {
        reassembler.Append(std::span(stream).subspan(at, std::min<std::size_t>(1000, stream.size() - at)));
        TakeAll(reassembler, frames);
        EXPECT_LT(reassembler.HeldBytes(), FlapStreamReassembler::LargestHeld);
    }
    EXPECT_EQ(frames, wanted);
    EXPECT_FALSE(reassembler.IsLost());
}

TEST(FlapStreamReassemblerTest, AStreamOfGarbageIsLostOnlyPastTheLongestStretch) {
    const std::vector<std::uint8_t> stretch(FlapStreamReassembler::LongestLostStretch, 'A');
    FlapStreamReassembler reassembler;
    Frames frames;
    reassembler.Append(stretch);
    TakeAll(reassembler, frames);
    reassembler.Append(Concat({Hello, stretch}));
    TakeAll(reassembler, frames);
    EXPECT_EQ(std::pair(frames, reassembler.IsLost()), std::pair(Frames{Hello}, false));
    reassembler.Append(Bytes("41"));
    TakeAll(reassembler, frames);
    EXPECT_TRUE(reassembler.IsLost());
    reassembler.Reset();
    EXPECT_FALSE(reassembler.IsLost());
}

} // namespace
