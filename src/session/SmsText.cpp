#include "session/SmsText.h"

#include "bytes/Windows1252.h"

#include <string>
#include <utility>

namespace pagewing::SmsText {

namespace {

std::u16string WithCrLf(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            result += u"\r\n";
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
        } else {
            result.push_back(text[i]);
        }
    }
    return result;
}

std::u16string Number(int value) {
    const auto digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Characters that show nothing, or combine with the quote before them: named by their code instead.
bool IsInvisible(char32_t character) {
    return (character >= 0xD800 && character <= 0xDFFF) || (character >= 0x0300 && character <= 0x036F) ||
           (character >= 0x200B && character <= 0x200F) || (character >= 0x2028 && character <= 0x202E) ||
           (character >= 0x2060 && character <= 0x206F) || (character >= 0xFE00 && character <= 0xFE0F) ||
           character == 0xFEFF;
}

std::u16string Named(std::u16string_view units) {
    if (units.size() == 1 && IsInvisible(units[0])) {
        constexpr std::u16string_view digits = u"0123456789ABCDEF";
        std::u16string code = u"U+";
        for (int shift = 12; shift >= 0; shift -= 4) {
            code.push_back(digits[(units[0] >> shift) & 0xF]);
        }
        return code;
    }
    return u"\u201C" + std::u16string(units) + u"\u201D";
}

// The first character that Windows-1252 cannot hold, and its place as the reader counts: from 1, a
// surrogate pair and a line break (CR LF or a lone CR or LF) each one character.
std::optional<std::pair<std::u16string, int>> FirstUnsendable(std::u16string_view text) {
    int place = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        ++place;
        if (!Windows1252::ByteOf(text[i])) {
            const auto isPair =
                IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
            return std::pair(Named(text.substr(i, isPair ? 2 : 1)), place);
        }
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
        }
    }
    return std::nullopt;
}

} // namespace

int CountedLength(std::u16string_view text) {
    return static_cast<int>(WithCrLf(text).size());
}

std::u16string Compose(std::u16string_view sender, std::u16string_view message) {
    return std::u16string(sender) + u":\r\n" + WithCrLf(message);
}

std::optional<std::u16string> Problem(std::u16string_view sender, std::u16string_view message) {
    const auto senderLength = CountedLength(sender);
    const auto used = senderLength + CountedLength(message);
    if (senderLength > SenderNameLength) {
        return u"Sender name is longer than " + Number(SenderNameLength) + u" characters";
    }
    if (used > Allowance) {
        return u"Sender name and message are " + Number(used) + u" characters; at most " + Number(Allowance) +
               u" can be sent";
    }
    if (const auto found = FirstUnsendable(sender)) {
        return found->first + u" at character " + Number(found->second) +
               u" of the sender name cannot be sent: Windows-1252 only";
    }
    if (const auto found = FirstUnsendable(message)) {
        return found->first + u" at character " + Number(found->second) +
               u" cannot be sent: Windows-1252 only";
    }
    return std::nullopt;
}

} // namespace pagewing::SmsText
