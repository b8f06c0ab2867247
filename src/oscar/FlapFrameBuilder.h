#pragma once

#include "bytes/ByteArrayTools.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagewing {

// What the two packet builders share: the data byte array that holds the last framed packet, the FLAP
// framing that closes every build, and the six accessors that hand the frame out.
//
// A FLAP frame is 2A, the channel, the 2-byte sequence number, the 2-byte payload length and the payload.
class FlapFrameBuilder {
public:
    std::vector<std::uint8_t> ToByteArray() const;
    std::u16string ToHexString() const;
    std::u16string ToString() const;
    std::vector<std::uint8_t> ToByteArrayStartLength(std::int32_t Start, std::int32_t Length) const;
    std::u16string ToHexStringStartLength(std::int32_t Start, std::int32_t Length) const;
    std::u16string ToStringStartLength(std::int32_t Start, std::int32_t Length) const;

protected:
    FlapFrameBuilder() = default;
    ~FlapFrameBuilder() = default;

    // A value for a 16-bit length field; std::length_error when the field cannot describe it, so that a
    // frame whose lengths would be cut is never finished.
    static std::int32_t Length16(std::size_t length);

    // Puts the payload length (when the payload does not carry it already), the next sequence number and
    // the start marker with the channel in front of the payload.
    void Frame(std::u16string_view startAndChannel, bool prependPayloadLength);

    ByteArrayTools Data;
};

} // namespace pagewing
