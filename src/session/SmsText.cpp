#include "session/SmsText.h"

#include "bytes/Windows1252.h"

#include <string>

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
    if (!Windows1252::CanEncode(sender)) {
        return u"Sender name holds a character that cannot be sent (Windows-1252 only)";
    }
    if (!Windows1252::CanEncode(message)) {
        return u"Message holds a character that cannot be sent (Windows-1252 only)";
    }
    return std::nullopt;
}

} // namespace pagewing::SmsText
