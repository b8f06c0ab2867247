#include "bytes/Windows1252.h"

#include <gtest/gtest.h>

#include <optional>

using pagewing::Windows1252::ByteOf;
using pagewing::Windows1252::CanEncode;
using pagewing::Windows1252::CharacterOf;

namespace {

TEST(Windows1252Test, AsciiAndLatin1MapToTheirOwnValue) {
    for (char16_t c = 0; c < 0x80; ++c) {
        EXPECT_EQ(ByteOf(c), static_cast<std::uint8_t>(c));
    }
    for (char16_t c = 0xA0; c <= 0xFF; ++c) {
        EXPECT_EQ(ByteOf(c), static_cast<std::uint8_t>(c));
    }
}

// The five positions without a character (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control of the same
// value, as the Windows conversion functions have them.
TEST(Windows1252Test, EveryPositionOfTheHighRange) {
    const struct {
        char16_t character;
        std::uint8_t byte;
    } cases[] = {{u'€', 0x80},      {u'‚', 0x82},     {u'ƒ', 0x83},      {u'„', 0x84},      {u'…', 0x85},
                 {u'†', 0x86},      {u'‡', 0x87},     {u'ˆ', 0x88},      {u'‰', 0x89},      {u'Š', 0x8A},
                 {u'‹', 0x8B},      {u'Œ', 0x8C},     {u'Ž', 0x8E},      {u'‘', 0x91},      {u'’', 0x92},
                 {u'“', 0x93},      {u'”', 0x94},     {u'•', 0x95},      {u'–', 0x96},      {u'—', 0x97},
                 {u'˜', 0x98},      {u'™', 0x99},     {u'š', 0x9A},      {u'›', 0x9B},      {u'œ', 0x9C},
                 {u'ž', 0x9E},      {u'Ÿ', 0x9F},     {u'\u0081', 0x81}, {u'\u008D', 0x8D}, {u'\u008F', 0x8F},
                 {u'\u0090', 0x90}, {u'\u009D', 0x9D}};
    for (const auto& c : cases) {
        EXPECT_EQ(ByteOf(c.character), c.byte) << static_cast<int>(c.character);
        EXPECT_EQ(CharacterOf(c.byte), c.character) << static_cast<int>(c.byte);
    }
}

TEST(Windows1252Test, EveryByteReadsBackAsItself) {
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
