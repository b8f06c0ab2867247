#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace pagewing {

// The error a server sends in place of an answer: subtype 1 of the family asked, whose body begins with a
// 2-byte error code (0x000D: the request was denied), perhaps followed by TLVs.
// Only FromFrame makes one, with the code read from the frame.
struct SnacError {
    std::uint16_t Code;

    // Reads one whole FLAP frame holding a SNAC; none when its body is too short to hold a code.
    static std::optional<SnacError> FromFrame(std::span<const std::uint8_t> frame);
};

} // namespace pagewing
