#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pagewing {

// The ICQ meta reply that a SNAC 15,03 carries in its TLV 1: after the TLV header, little-endian fields
// (chunk size, owner UIN, meta type, the request's sequence number, subtype, result byte) and the data that
// follows them. A real gateway answers an SMS request with subtype 0x0096, result 0x0A and an XML body;
// a server without a gateway refuses it with another result byte and sometimes a zero-terminated text.
// Only FromFrame makes one, with every field read from the frame.
struct MetaReply {
    std::uint32_t OwnerUin;
    std::uint16_t Sequence;
    std::uint16_t Subtype;
    std::uint8_t Result;
    std::vector<std::uint8_t> Data;

    // Reads one whole FLAP frame holding a SNAC; none when its body is not a meta reply of type 0x07DA, or
    // one cut short, or one whose chunk size disagrees with the length of its TLV.
    static std::optional<MetaReply> FromFrame(std::span<const std::uint8_t> frame);

    // Whether Data holds this ASCII text, letter case ignored.
    bool DataHolds(std::string_view text) const;

    // The text at the start of Data, up to its terminating zero, as Windows-1252 with control characters
    // dropped and surrounding spaces trimmed, at most maxLength characters.
    std::u16string PrintableText(std::size_t maxLength) const;
};

} // namespace pagewing
