#include "session/SmsText.h"

#include <gtest/gtest.h>

using namespace pagewing;

namespace {

TEST(SmsTextTest, EveryLineBreakGoesOutAsCrLfAndCountsAsTwo) {
    const std::pair<std::u16string, std::u16string> messagesAndSent[] = {{u"", u""},
                                                                         {u"a\nb", u"a\r\nb"},
                                                                         {u"a\r\nb", u"a\r\nb"},
                                                                         {u"a\rb", u"a\r\nb"},
                                                                         {u"\n\r", u"\r\n\r\n"},
                                                                         {u"\r\n\n", u"\r\n\r\n"},
                                                                         {u"x\r\n\r", u"x\r\n\r\n"}};
    for (const auto& [message, sent] : messagesAndSent) {
        EXPECT_EQ(SmsText::Compose(u"Ann", message), u"Ann:\r\n" + sent);
        EXPECT_EQ(SmsText::CountedLength(message), static_cast<int>(sent.size()));
    }
}

TEST(SmsTextTest, NameAndMessageShareTheAllowance) {
    const std::tuple<std::u16string, std::u16string, std::optional<std::u16string>> cases[] = {
        {std::u16string(20, u's'), std::u16string(120, u'm'), std::nullopt},
        {u"", std::u16string(70, u'\n'), std::nullopt},
        {std::u16string(21, u's'), u"", u"Sender name is longer than 20 characters"},
        {std::u16string(20, u's'), std::u16string(121, u'm'),
         u"Sender name and message are 141 characters; at most 140 can be sent"},
        {u"", std::u16string(71, u'\n'),
         u"Sender name and message are 142 characters; at most 140 can be sent"},
        {u"\u4E00", u"", u"Sender name holds a character that cannot be sent (Windows-1252 only)"},
        {u"Ann", u"\u20AC \u4E00", u"Message holds a character that cannot be sent (Windows-1252 only)"},
    };
    for (const auto& [sender, message, problem] : cases) {
        EXPECT_EQ(SmsText::Problem(sender, message), problem);
    }
}

} // namespace
