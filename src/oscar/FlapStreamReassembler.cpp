#include "oscar/FlapStreamReassembler.h"

#include <algorithm>

namespace pagewing {

namespace {
constexpr std::uint8_t FrameStart = 0x2A;
}

void FlapStreamReassembler::Append(std::span<const std::uint8_t> bytes) {
    // Frames handed out before are dropped here, so the buffer never grows beyond the incomplete tail and
    // the newest arrival.
    Buffer.erase(Buffer.begin(), Buffer.begin() + static_cast<std::ptrdiff_t>(ReadOffset));
    ReadOffset = 0;
    Buffer.insert(Buffer.end(), bytes.begin(), bytes.end());
}

std::span<const std::uint8_t> FlapStreamReassembler::NextFrame() {
    SkipToFrameStart();
    const auto held = std::span(Buffer).subspan(ReadOffset);
    if (held.size() < HeaderSize) {
        return {};
    }
    const auto frameSize = HeaderSize + (static_cast<std::size_t>(held[4]) << 8 | held[5]);
    if (held.size() < frameSize) {
        return {};
    }
    ReadOffset += frameSize;
    return held.first(frameSize);
}

void FlapStreamReassembler::Reset() {
    Buffer.clear();
    ReadOffset = 0;
}

void FlapStreamReassembler::SkipToFrameStart() {
    const auto first = Buffer.begin() + static_cast<std::ptrdiff_t>(ReadOffset);
    const auto start = std::find(first, Buffer.end(), FrameStart);
    ReadOffset = static_cast<std::size_t>(start - Buffer.begin());
}

} // namespace pagewing
