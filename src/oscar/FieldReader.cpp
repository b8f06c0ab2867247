#include "oscar/FieldReader.h"

#include "oscar/OscarProtocol.h"

namespace pagewing {

std::optional<FieldReader> FieldReader::SnacBodyOf(std::span<const std::uint8_t> frame) {
    if (frame.size() < Oscar::FlapHeaderSize + Oscar::SnacHeaderSize) {
        return std::nullopt;
    }
    FieldReader reader(frame.subspan(Oscar::FlapHeaderSize + 4));
    const auto flags = reader.Read(2, false).value_or(0);
    reader.Take(4);
    if ((flags & Oscar::OptionalDataFlag) != 0 && !reader.Take(reader.Read(2, false).value_or(0))) {
        return std::nullopt;
    }
    return FieldReader(reader.Rest());
}

std::optional<std::uint32_t> FieldReader::Read(std::size_t size, bool littleEndian) {
    const auto field = Take(size);
    if (!field) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = (*field)[littleEndian ? size - 1 - i : i];
        value = value << 8 | byte;
    }
    return value;
}

std::optional<std::span<const std::uint8_t>> FieldReader::Take(std::size_t size) {
    if (Failed || size > Bytes.size()) {
        Failed = true;
        return std::nullopt;
    }
    const auto taken = Bytes.first(size);
    Bytes = Bytes.subspan(size);
    return taken;
}

} // namespace pagewing
