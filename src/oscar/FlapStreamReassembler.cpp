#include "oscar/FlapStreamReassembler.h"

#include <algorithm>

namespace pagewing {

namespace {

std::uint16_t Field16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] << 8 | bytes[offset + 1]);
}

bool IsChannel(std::uint8_t channel) {
    return channel >= Oscar::LoginChannel && channel <= Oscar::KeepAliveChannel;
}

// Sequence numbers count up by one per frame; some servers wrap to 0 after 0x7FFF.
bool IsNext(std::uint16_t expected, std::uint16_t sequence) {
    return sequence == expected || (expected == Oscar::SequenceHalfway && sequence == 0);
}

} // namespace

void FlapStreamReassembler::Append(std::span<const std::uint8_t> bytes) {
    // Frames handed out before are dropped here, so the buffer never grows beyond the incomplete tail and
    // the newest arrival.
    Buffer.erase(Buffer.begin(), Buffer.begin() + static_cast<std::ptrdiff_t>(ReadOffset));
    ReadOffset = 0;
    const auto skipped = std::min(SkipRemaining, bytes.size());
    SkipRemaining -= skipped;
    Buffer.insert(Buffer.end(), bytes.begin() + static_cast<std::ptrdiff_t>(skipped), bytes.end());
}

std::span<const std::uint8_t> FlapStreamReassembler::NextFrame() {
    while (true) {
        const auto found = FindFrameStart(std::span(Buffer).subspan(ReadOffset));
        Drop(found.Offset);
        if (found.Kind == Start::None || found.Kind == Start::Wait) {
            return {};
        }
        const auto frame = std::span(Buffer).subspan(ReadOffset);
        const std::size_t payload = Field16(frame, 4);
        if (payload > Oscar::LongestServerPayload) {
            SkipLongFrame(frame);
            continue;
        }
        if (frame.size() < HeaderSize + payload) {
            return {};
        }
        ReadOffset += HeaderSize + payload;
        ExpectedSequence = static_cast<std::uint16_t>(Field16(frame, 2) + 1);
        DroppedSinceFrame = 0;
        return frame.first(HeaderSize + payload);
    }
}

void FlapStreamReassembler::Reset() {
    *this = FlapStreamReassembler();
}

// The first place where a frame starts, or where one may start once more bytes have come. A start that is
// settled wins over an earlier one that waits: a real frame in step is not held up behind a '*' in garbage.
FlapStreamReassembler::FrameStart
FlapStreamReassembler::FindFrameStart(std::span<const std::uint8_t> held) const {
    std::optional<std::size_t> waitAt;
    for (auto at = std::find(held.begin(), held.end(), Oscar::FrameStart); at != held.end();
         at = std::find(at + 1, held.end(), Oscar::FrameStart)) {
        const auto offset = static_cast<std::size_t>(at - held.begin());
        const auto kind = Judge(held.subspan(offset));
        if (kind == Start::InStep || kind == Start::Resync) {
            return {offset, kind};
        }
        if (kind == Start::Wait && !waitAt) {
            waitAt = offset;
        }
    }
    return waitAt ? FrameStart{*waitAt, Start::Wait} : FrameStart{held.size(), Start::None};
}

// Each field is judged as soon as it has arrived; a header cut short by the end of the bytes received so far
// may still be one.
FlapStreamReassembler::Start FlapStreamReassembler::Judge(std::span<const std::uint8_t> from) const {
    if (from.size() < 2) {
        return Start::Wait;
    }
    if (!IsChannel(from[1])) {
        return Start::None;
    }
    if (from.size() < 4) {
        return Start::Wait;
    }
    const auto sequence = Field16(from, 2);
    if (IsInStep(sequence)) {
        return from.size() < HeaderSize ? Start::Wait : Start::InStep;
    }
    if (from.size() < HeaderSize) {
        return Start::Wait;
    }
    const std::size_t payload = Field16(from, 4);
    if (payload > Oscar::LongestServerPayload) {
        return Start::None;
    }
    const auto next = from.subspan(std::min(from.size(), HeaderSize + payload));
    if (next.size() < 4) {
        return Start::Wait;
    }
    const bool followed = next[0] == Oscar::FrameStart && IsChannel(next[1]) &&
                          IsNext(static_cast<std::uint16_t>(sequence + 1), Field16(next, 2));
    return followed ? Start::Resync : Start::None;
}

bool FlapStreamReassembler::IsInStep(std::uint16_t sequence) const {
    return !ExpectedSequence || IsNext(*ExpectedSequence, sequence);
}

void FlapStreamReassembler::Drop(std::size_t count) {
    ReadOffset += count;
    DroppedSinceFrame += count;
}

// Only a frame in step gets here, so its length is believed; holding it would take more than a frame may.
void FlapStreamReassembler::SkipLongFrame(std::span<const std::uint8_t> frame) {
    const auto size = HeaderSize + Field16(frame, 4);
    const auto now = std::min(size, frame.size());
    ReadOffset += now;
    SkipRemaining = size - now;
    ExpectedSequence = static_cast<std::uint16_t>(Field16(frame, 2) + 1);
    DroppedSinceFrame = 0;
}

} // namespace pagewing
