#include "session/SmsText.h"

#include <gtest/gtest.h>

using namespace pagewing;

namespace {

TEST(SmsTextTest, EveryLineBreakGoesOutAsCrLfAndCountsAsTwo) {
    // LF, CR LF, CR, and LF CR as two breaks.
    const std::u16string message = u"a\nb\r\nc\rd\n\r";
    EXPECT_EQ(SmsText::Compose(u"Ann", message), u"Ann:\r\na\r\nb\r\nc\r\nd\r\n\r\n");
    EXPECT_EQ(SmsText::CountedLength(message), 14);
}

TEST(SmsTextTest, NameAndMessageShareTheAllowance) {
    const std::u16string name(20, u's');
    const auto tooLong = u"Sender name and message are 141 characters; at most 140 can be sent";
    const std::tuple<std::u16string, std::u16string, std::optional<std::u16string>> cases[] = {
        {name, std::u16string(120, u'm'), std::nullopt},
        {name, std::u16string(121, u'm'), tooLong},
        {u"s", std::u16string(70, u'\n'), tooLong},
        {name + u"s", u"", u"Sender name is longer than 20 characters"},
    };
    for (const auto& [sender, message, problem] : cases) {
        EXPECT_EQ(SmsText::Problem(sender, message), problem);
    }
}

TEST(SmsTextTest, AnUnsendableCharacterIsNamedWhereTheReaderSeesIt) {
    // Counted from 1 as the reader sees the text: a surrogate pair is one character, and so is a line break,
    // CR LF or alone. Characters that show nothing are named by their code.
    const struct {
        std::u16string Sender, Message, Problem;
    } cases[] = {
        {u"", u"Hello there\U0001F600 and \u4E00",
         u"\u201C\U0001F600\u201D at character 12 cannot be sent: Windows-1252 only"},
        {u"Ann", u"a\r\nb\nc\rd\r\n\u0416",
         u"\u201C\u0416\u201D at character 9 cannot be sent: Windows-1252 only"},
        // The first and the last pair of high surrogates, each one character.
        {u"", u"\U00010000", u"\u201C\U00010000\u201D at character 1 cannot be sent: Windows-1252 only"},
        {u"", u"\U0010FFFD", u"\u201C\U0010FFFD\u201D at character 1 cannot be sent: Windows-1252 only"},
        {u"A\u20ACn\u0416", u"\U0001F600",
         u"\u201C\u0416\u201D at character 4 of the sender name cannot be sent: Windows-1252 only"},
        {u"", u"zero\u200Bwidth", u"U+200B at character 5 cannot be sent: Windows-1252 only"},
        {u"", u"x\xD83D", u"U+D83D at character 2 cannot be sent: Windows-1252 only"},
        {u"\u2018Bob\u2019", u"\u20AC5 \u2013 caf\u00E9\r\n\u0081", u"none"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SmsText::Problem(c.Sender, c.Message).value_or(u"none"), c.Problem);
    }
}

} // namespace
