#include "session/SmsText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace pagewing;

namespace {

TEST(SmsTextTest, EveryLineBreakCountsAndGoesOutAsCrLf) {
    const struct {
        std::u16string message, sent;
    } cases[] = {
        {u"", u""},           {u"a\nb", u"a\r\nb"},         {u"a\r\nb", u"a\r\nb"},
        {u"a\rb", u"a\r\nb"}, {u"\n\r", u"\r\n\r\n"},       {u"\r\n\n", u"\r\n\r\n"},
        {u"\r", u"\r\n"},     {u"x\r\n\r\n", u"x\r\n\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SmsText::Compose(u"Ann", c.message), u"Ann:\r\n" + c.sent);
        EXPECT_EQ(SmsText::CountedLength(c.message), static_cast<int>(c.sent.size()));
    }
}

TEST(SmsTextTest, NameAndMessageShareTheAllowance) {
    const auto fits = [](std::size_t sender, const std::u16string& message) {
        return SmsText::Problem(std::u16string(sender, u's'), message);
    };
    EXPECT_EQ(fits(20, std::u16string(120, u'm')), std::nullopt);
    EXPECT_EQ(fits(0, std::u16string(70, u'\n')), std::nullopt);
    EXPECT_EQ(fits(21, u""), u"Sender name is longer than 20 characters");
    EXPECT_EQ(fits(20, std::u16string(121, u'm')),
              u"Sender name and message are 141 characters; at most 140 can be sent");
    EXPECT_EQ(fits(0, std::u16string(70, u'\n') + u"\n"),
              u"Sender name and message are 142 characters; at most 140 can be sent");
    EXPECT_EQ(SmsText::Problem(u"\u4E00", u""),
              u"Sender name holds a character that cannot be sent (Windows-1252 only)");
    EXPECT_EQ(SmsText::Problem(u"Ann", u"\u20AC \u4E00"),
              u"Message holds a character that cannot be sent (Windows-1252 only)");
}

} // namespace
