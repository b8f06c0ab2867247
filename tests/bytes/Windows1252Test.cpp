#include "bytes/Windows1252.h"

#include <gtest/gtest.h>

#include <optional>

using pagewing::Windows1252::ByteOf;
using pagewing::Windows1252::CanEncode;
using pagewing::Windows1252::CharacterOf;

namespace {

TEST(Windows1252Test, EveryByteStandsForOneCharacterThatEncodesBackToIt) {
    // Outside 0x80 to 0x9F a byte is its own Latin-1 character. The five positions without a character (0x81,
    // 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control of the same value, as the Windows conversion functions
    // have them.
    const std::pair<std::uint8_t, char16_t> cases[] = {
        {0x00, u'\0'},     {0x41, u'A'},      {0x7F, u'\x7F'},   {0x80, u'€'},      {0x81, u'\u0081'},
        {0x8A, u'Š'},      {0x8D, u'\u008D'}, {0x8F, u'\u008F'}, {0x90, u'\u0090'}, {0x99, u'™'},
        {0x9D, u'\u009D'}, {0x9F, u'Ÿ'},      {0xA0, u'\u00A0'}, {0xFF, u'ÿ'}};
    for (const auto& [byte, character] : cases) {
        EXPECT_EQ(CharacterOf(byte), character) << int{byte};
    }
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(ByteOf(CharacterOf(static_cast<std::uint8_t>(byte))), byte) << byte;
    }
}

TEST(Windows1252Test, OtherCharactersHaveNoCode) {
    for (const char16_t c : {u'\u0080', u'\u0085', u'\u009F', u'\u0100', u'\u20AD', u'ж', u'中', u'\xD83D'}) {
        EXPECT_EQ(ByteOf(c), std::nullopt) << static_cast<int>(c);
    }
    EXPECT_TRUE(CanEncode(u"Grüße, 5 €"));
    EXPECT_FALSE(CanEncode(u"Привет"));
}

} // namespace
