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
        {u"\u4E00", u"", u"Sender name holds a character that cannot be sent (Windows-1252 only)"},
        {u"Ann", u"\u20AC \u4E00", u"Message holds a character that cannot be sent (Windows-1252 only)"},
    };
    for (const auto& [sender, message, problem] : cases) {
        EXPECT_EQ(SmsText::Problem(sender, message), problem);
    }
}

} // namespace
