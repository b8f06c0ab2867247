#include "oscar/FlapStreamReassembler.h"

#include "support/HexBytes.h"

#include <gtest/gtest.h>

#include <random>

using pagewing::FlapStreamReassembler;
using pagewing::test::Bytes;
using pagewing::test::Concat;

namespace {

using Frames = std::vector<std::vector<std::uint8_t>>;

Frames TakeAll(FlapStreamReassembler& stream) {
    Frames frames;
    for (auto frame = stream.NextFrame(); !frame.empty(); frame = stream.NextFrame()) {
        frames.emplace_back(frame.begin(), frame.end());
    }
    return frames;
}

const auto Hello = Bytes("2A01 0001 0004 00000001");
const auto Reply = Bytes("2A04 0002 0008 0005 0004 31323334");
const auto Empty = Bytes("2A05 0003 0000");

TEST(FlapStreamReassemblerTest, JoinedFramesComeOutOneByOne) {
    FlapStreamReassembler stream;
    stream.Append(Concat({Hello, Reply, Empty}));
    EXPECT_EQ(TakeAll(stream), (Frames{Hello, Reply, Empty}));
    EXPECT_EQ(stream.HeldBytes(), 0u);
}

TEST(FlapStreamReassemblerTest, FrameCutAtEveryPointComesOutWhole) {
    const auto stream = Concat({Hello, Reply});
    for (std::size_t cut = 1; cut < stream.size(); ++cut) {
        FlapStreamReassembler reassembler;
        reassembler.Append(std::span(stream).first(cut));
        auto frames = TakeAll(reassembler);
        reassembler.Append(std::span(stream).subspan(cut));
        const auto rest = TakeAll(reassembler);
        frames.insert(frames.end(), rest.begin(), rest.end());
        EXPECT_EQ(frames, (Frames{Hello, Reply})) << "cut at " << cut;
    }
}

TEST(FlapStreamReassemblerTest, GarbageBeforeAFrameIsDroppedUpToTheNextStartMarker) {
    FlapStreamReassembler stream;
    stream.Append(Concat({Bytes("00 FF 17"), Hello, Bytes("41 42"), Reply}));
    EXPECT_EQ(TakeAll(stream), (Frames{Hello, Reply}));
}

TEST(FlapStreamReassemblerTest, StartMarkerWithoutAChannelBehindItIsGarbageAtEveryCut) {
    // Text that holds '*' (0x2A) followed by anything but a channel from 1 to 5, then a real frame: taken for
    // a frame start, the first 0x2A would have the stream wait for thousands of bytes and swallow the frame.
    const auto stream = Concat({Bytes("41 2A 20 42 2A 00 2A 06 2A FF 10 2A"), Reply, Bytes("2A 2A"), Hello});
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        FlapStreamReassembler reassembler;
        reassembler.Append(std::span(stream).first(cut));
        auto frames = TakeAll(reassembler);
        reassembler.Append(std::span(stream).subspan(cut));
        const auto rest = TakeAll(reassembler);
        frames.insert(frames.end(), rest.begin(), rest.end());
        EXPECT_EQ(frames, (Frames{Reply, Hello})) << "cut at " << cut;
        EXPECT_EQ(reassembler.HeldBytes(), 0u);
    }
}

TEST(FlapStreamReassemblerTest, RandomCutsOfManyFramesGiveTheSameFrames) {
    std::mt19937 random(7);
    Frames sent;
    std::vector<std::uint8_t> wire;
    for (int i = 0; i < 300; ++i) {
        const auto length = static_cast<std::size_t>(random() % 700);
        std::vector<std::uint8_t> frame{0x2A,
                                        0x02,
                                        static_cast<std::uint8_t>(i >> 8),
                                        static_cast<std::uint8_t>(i),
                                        static_cast<std::uint8_t>(length >> 8),
                                        static_cast<std::uint8_t>(length)};
        for (std::size_t j = 0; j < length; ++j) {
            frame.push_back(static_cast<std::uint8_t>(random()));
        }
        wire.insert(wire.end(), frame.begin(), frame.end());
        sent.push_back(std::move(frame));
    }
    FlapStreamReassembler stream;
    Frames received;
    for (std::size_t at = 0; at < wire.size();) {
        const auto piece = std::min<std::size_t>(1 + random() % 900, wire.size() - at);
        stream.Append(std::span(wire).subspan(at, piece));
        at += piece;
        const auto taken = TakeAll(stream);
        received.insert(received.end(), taken.begin(), taken.end());
        EXPECT_LT(stream.HeldBytes(), FlapStreamReassembler::LargestFrame);
    }
    EXPECT_EQ(received, sent);
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
