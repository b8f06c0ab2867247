#include "bytes/Windows1252.h"

#include <algorithm>
#include <array>

namespace pagewing::Windows1252 {

namespace {

// Characters at 0x80 to 0x9F. The five positions that Windows-1252 leaves undefined keep the C1 control
// of the same value, as the Windows conversion functions do.
constexpr std::array<char16_t, 32> HighControlRange = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

} // namespace

std::optional<std::uint8_t> HighRangeByteOf(char16_t character) {
    const auto found = std::find(HighControlRange.begin(), HighControlRange.end(), character);
    if (found == HighControlRange.end()) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(0x80 + (found - HighControlRange.begin()));
}

char16_t CharacterOf(std::uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? HighControlRange[byte - 0x80u] : static_cast<char16_t>(byte);
}

bool CanEncode(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return ByteOf(c).has_value(); });
}

std::u16string PrintableText(std::span<const std::uint8_t> bytes, std::size_t maxLength) {
    std::u16string text;
    for (const auto byte : bytes) {
        if (byte == 0) {
            break;
        }
        const auto character = CharacterOf(byte);
        const bool control = character < 0x20 || (character >= 0x7F && character < 0xA0);
        if (!control) {
            text.push_back(character);
        }
    }
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, std::min(last - first + 1, maxLength));
}

} // namespace pagewing::Windows1252
