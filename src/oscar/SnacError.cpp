#include "oscar/SnacError.h"

#include "oscar/FieldReader.h"

namespace pagewing {

std::optional<SnacError> SnacError::FromFrame(std::span<const std::uint8_t> frame) {
    auto body = FieldReader::SnacBodyOf(frame);
    const auto code = body ? body->Read(2, false) : std::nullopt;
    if (!code) {
        return std::nullopt;
    }
    return SnacError{static_cast<std::uint16_t>(*code)};
}

} // namespace pagewing
