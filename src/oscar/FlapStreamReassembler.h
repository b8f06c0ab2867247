#pragma once

#include "oscar/OscarProtocol.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pagewing {

// Cuts the byte stream of one TCP connection into whole FLAP frames. TCP may join several frames in one
// arrival or cut one frame across several; the reader only accepts exactly one frame at a time.
//
// Append the bytes of each arrival, then take frames with NextFrame until it returns an empty span. A header
// is believed only when it fits the connection so far: 0x2A, a channel from 1 to 5, the sequence number
// that follows the previous frame's, and a payload no longer than a server sends. Bytes that cannot start
// such a header are dropped up to the next one that can. Once the complete frames are taken, at most one
// incomplete frame is held.
class FlapStreamReassembler {
public:
    static constexpr std::size_t HeaderSize = Oscar::FlapHeaderSize;
    static constexpr std::size_t LargestFrame = HeaderSize + Oscar::LongestServerPayload;

    void Append(std::span<const std::uint8_t> bytes);

    // The next complete frame, header included, or an empty span when none is complete yet. The frame
    // stays valid until the next call of Append, NextFrame or Reset.
    std::span<const std::uint8_t> NextFrame();

    // Forgets every held byte and the sequence numbers, as for a new connection.
    void Reset();

    // Bytes received and not yet handed out as a frame.
    std::size_t HeldBytes() const { return Buffer.size() - ReadOffset; }

private:
    bool MayStartFrame(std::span<const std::uint8_t> held) const;
    bool FollowsPreviousFrame(std::uint16_t sequence) const;
    void SkipToFrameStart();

    std::vector<std::uint8_t> Buffer;
    std::size_t ReadOffset = 0;
    // The sequence number the next frame must carry; none before the connection's first frame, which may
    // start anywhere.
    std::optional<std::uint16_t> ExpectedSequence;
};

} // namespace pagewing
