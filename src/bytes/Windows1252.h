#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pagewing::Windows1252 {

// The code of a character from 0x80 to 0x9F or above 0xFF, where Windows-1252 differs from Latin-1.
std::optional<std::uint8_t> HighRangeByteOf(char16_t character);

// The one-byte code of a character in Windows-1252, the code page that every text on the wire uses;
// none for a character that the code page cannot hold.
inline std::optional<std::uint8_t> ByteOf(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<std::uint8_t>(character);
    }
    return HighRangeByteOf(character);
}

// The character that a byte stands for in Windows-1252; the five bytes that the code page leaves undefined
// stand for the C1 control of the same value.
char16_t CharacterOf(std::uint8_t byte);

// True when every character of the text has a one-byte code.
bool CanEncode(std::u16string_view text);

// A server's own words, fit to show as they are: the bytes up to the first zero, read as Windows-1252, with
// control characters dropped and surrounding spaces trimmed, at most maxLength characters.
std::u16string PrintableText(std::span<const std::uint8_t> bytes, std::size_t maxLength);

} // namespace pagewing::Windows1252
