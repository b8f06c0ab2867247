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

} // namespace
