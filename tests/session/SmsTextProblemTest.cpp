#include "session/SmsText.h"

#include <gtest/gtest.h>

using namespace pagewing;

namespace {

std::u16string ProblemOf(std::u16string_view sender, std::u16string_view message) {
    return SmsText::Problem(sender, message).value_or(u"none");
}

} // namespace

TEST(SmsTextProblemTest, NamesTheFirstUnsendableCharacterAndWhereTheReaderSeesIt) {
    // Counted from 1 as the reader sees the text: a surrogate pair is one character, and so is a line break,
    // CR LF or alone. Characters that show nothing are named by their code.
    const struct {
        std::u16string Sender, Message, Problem;
    } cases[] = {
        {u"", u"Hello there\U0001F600 and \u4E00",
         u"\u201C\U0001F600\u201D at character 12 cannot be sent: Windows-1252 only"},
        {u"Ann", u"a\r\nb\nc\rd\u0416",
         u"\u201C\u0416\u201D at character 8 cannot be sent: Windows-1252 only"},
        {u"A\u20ACn\u0416", u"\U0001F600",
         u"\u201C\u0416\u201D at character 4 of the sender name cannot be sent: Windows-1252 only"},
        {u"", u"zero\u200Bwidth", u"U+200B at character 5 cannot be sent: Windows-1252 only"},
        {u"", u"x\xD83D", u"U+D83D at character 2 cannot be sent: Windows-1252 only"},
        {u"\u2018Bob\u2019", u"\u20AC5 \u2013 caf\u00E9\r\n\u0081", u"none"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProblemOf(c.Sender, c.Message), c.Problem);
    }
}
