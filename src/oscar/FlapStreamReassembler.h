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
// is believed when it fits the connection so far: 0x2A, a channel from 1 to 5 and the sequence number that
// follows the previous frame's. A frame in step but longer than a server sends is skipped by its length. A
// header out of step is believed only when the header after its frame follows it, so that a server whose
// numbers jump is followed, while a '*' in garbage is not. Bytes that cannot start a frame are dropped up to
// the next one that can; once the complete frames are taken, at most one incomplete frame and the start of
// the header after it are held.
class FlapStreamReassembler {
public:
    static constexpr std::size_t HeaderSize = Oscar::FlapHeaderSize;
    static constexpr std::size_t LargestFrame = HeaderSize + Oscar::LongestServerPayload;
    static constexpr std::size_t LargestHeld = LargestFrame + HeaderSize;
    // More garbage than this with no frame in it, and the stream is taken for lost: whatever sends it does
    // not speak FLAP, or not in step with anything we can follow.
    static constexpr std::size_t LongestLostStretch = 64 * 1024;

    void Append(std::span<const std::uint8_t> bytes);

    // The next complete frame, header included, or an empty span when none is complete yet. The frame
    // stays valid until the next call of Append, NextFrame or Reset.
    std::span<const std::uint8_t> NextFrame();

    // Forgets every held byte and the sequence numbers, as for a new connection.
    void Reset();

    // Bytes received and not yet handed out as a frame.
    std::size_t HeldBytes() const { return Buffer.size() - ReadOffset; }

    // True once more than LongestLostStretch bytes were dropped since the last frame.
    bool IsLost() const { return DroppedSinceFrame > LongestLostStretch; }

private:
    enum class Start { None, Wait, InStep, Resync };
    struct FrameStart {
        std::size_t Offset;
        Start Kind;
    };

    FrameStart FindFrameStart(std::span<const std::uint8_t> held) const;
    Start Judge(std::span<const std::uint8_t> from) const;
    bool IsInStep(std::uint16_t sequence) const;
    void Drop(std::size_t count);
    void SkipLongFrame(std::span<const std::uint8_t> frame);

    std::vector<std::uint8_t> Buffer;
    std::size_t ReadOffset = 0;
    // The sequence number the next frame must carry; none before the connection's first frame, which may
    // start anywhere.
    std::optional<std::uint16_t> ExpectedSequence;
    // What is left to skip of a frame too long to hold.
    std::size_t SkipRemaining = 0;
    std::size_t DroppedSinceFrame = 0;
};

} // namespace pagewing
