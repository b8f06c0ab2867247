#pragma once

#include "oscar/OscarProtocol.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pagewing {

// Cuts the byte stream of one TCP connection into whole FLAP frames. TCP may join several frames in one
// arrival or cut one frame across several; the reader only accepts exactly one frame at a time.
//
// Append the bytes of each arrival, then take frames with NextFrame until it returns an empty span. A frame
// starts with 0x2A and a channel byte from 1 to 5; bytes that cannot start a frame are dropped up to the next
// such pair. Once the complete frames are taken, at most one incomplete frame (6 + 65535 bytes) is held.
class FlapStreamReassembler {
public:
    static constexpr std::size_t HeaderSize = Oscar::FlapHeaderSize;
    static constexpr std::size_t LargestFrame = HeaderSize + 0xFFFF;

    void Append(std::span<const std::uint8_t> bytes);

    // The next complete frame, header included, or an empty span when none is complete yet. The frame
    // stays valid until the next call of Append, NextFrame or Reset.
    std::span<const std::uint8_t> NextFrame();

    // Forgets every held byte, as for a new connection.
    void Reset();

    // Bytes received and not yet handed out as a frame.
    std::size_t HeldBytes() const { return Buffer.size() - ReadOffset; }

private:
    void SkipToFrameStart();

    std::vector<std::uint8_t> Buffer;
    std::size_t ReadOffset = 0;
};

} // namespace pagewing
