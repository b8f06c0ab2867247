#include "oscar/FlapStreamReassembler.h"

#include <algorithm>

namespace pagewing {

namespace {

std::uint16_t Field16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] << 8 | bytes[offset + 1]);
}

} // namespace

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
    const auto frameSize = HeaderSize + Field16(held, 4);
    if (held.size() < frameSize) {
        return {};
    }
    ReadOffset += frameSize;
    ExpectedSequence = static_cast<std::uint16_t>(Field16(held, 2) + 1);
    return held.first(frameSize);
}

void FlapStreamReassembler::Reset() {
    Buffer.clear();
    ReadOffset = 0;
    ExpectedSequence.reset();
}

// A '*' in garbage followed by a channel byte would otherwise have us wait for a made-up frame and swallow
// the real ones behind it. Each field is judged as soon as it has arrived; a header cut short by the end of
// the bytes received so far may still be one.
bool FlapStreamReassembler::MayStartFrame(std::span<const std::uint8_t> held) const {
    if (held[0] != Oscar::FrameStart) {
        return false;
    }
    if (held.size() >= 2 && (held[1] < Oscar::LoginChannel || held[1] > Oscar::KeepAliveChannel)) {
        return false;
    }
    if (held.size() >= 4 && !FollowsPreviousFrame(Field16(held, 2))) {
        return false;
    }
    return held.size() < HeaderSize || Field16(held, 4) <= Oscar::LongestServerPayload;
}

bool FlapStreamReassembler::FollowsPreviousFrame(std::uint16_t sequence) const {
    return !ExpectedSequence || sequence == *ExpectedSequence ||
           (*ExpectedSequence == Oscar::SequenceHalfway && sequence == 0);
}

void FlapStreamReassembler::SkipToFrameStart() {
    while (ReadOffset < Buffer.size() && !MayStartFrame(std::span(Buffer).subspan(ReadOffset))) {
        const auto next = std::find(Buffer.begin() + static_cast<std::ptrdiff_t>(ReadOffset) + 1,
                                    Buffer.end(), Oscar::FrameStart);
        ReadOffset = static_cast<std::size_t>(next - Buffer.begin());
    }
}

} // namespace pagewing
