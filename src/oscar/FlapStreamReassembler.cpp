#include "oscar/FlapStreamReassembler.h"

#include "oscar/OscarProtocol.h"

#include <algorithm>

namespace pagewing {

namespace {

// A 0x2A inside garbage is no frame start unless a FLAP channel follows it; taken for one, it would have us
// wait for a made-up frame of up to 64 KiB and swallow the real frames behind it. A 0x2A that ends the
// buffer may still be one: its channel byte has not arrived yet.
bool StartsFrame(std::span<const std::uint8_t> held) {
    return held[0] == Oscar::FrameStart &&
           (held.size() == 1 || (held[1] >= Oscar::LoginChannel && held[1] <= Oscar::KeepAliveChannel));
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
    while (ReadOffset < Buffer.size() && !StartsFrame(std::span(Buffer).subspan(ReadOffset))) {
        const auto next = std::find(Buffer.begin() + static_cast<std::ptrdiff_t>(ReadOffset) + 1,
                                    Buffer.end(), Oscar::FrameStart);
        ReadOffset = static_cast<std::size_t>(next - Buffer.begin());
    }
}

} // namespace pagewing
