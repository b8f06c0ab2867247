#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace pagewing {

// Reads big- and little-endian fields from a byte span; once a read runs past the end, every later read
// fails too.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> bytes)
        : Bytes(bytes) {}

    // A reader over the body of one whole FLAP frame holding a SNAC: after the FLAP and SNAC headers and the
    // optional data that the SNAC flags announce. None for a frame too short for that.
    static std::optional<FieldReader> SnacBodyOf(std::span<const std::uint8_t> frame);

    std::optional<std::uint32_t> Read(std::size_t size, bool littleEndian);
    std::optional<std::span<const std::uint8_t>> Take(std::size_t size);
    std::span<const std::uint8_t> Rest() const { return Bytes; }

private:
    std::span<const std::uint8_t> Bytes;
    bool Failed = false;
};

} // namespace pagewing
