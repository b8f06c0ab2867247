#include "gateway-sim/XmlEntities.h"

#include <algorithm>
#include <array>
#include <utility>

namespace pagewing::sim {

namespace {

bool IsAllowedCharacter(const char32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

int DigitValue(const char16_t character) {
    if (character >= u'0' && character <= u'9') {
        return character - u'0';
    }
    if (character >= u'a' && character <= u'f') {
        return character - u'a' + 10;
    }
    if (character >= u'A' && character <= u'F') {
        return character - u'A' + 10;
    }
    return -1;
}

std::optional<char32_t> ParseNumber(const QStringView digits, const int base) {
    // Eight digits already exceed the last code point in either base, and capping the count keeps the
    // value inside 32 bits.
    if (digits.isEmpty() || digits.size() > 8) {
        return std::nullopt;
    }
    char32_t value = 0;
    for (const QChar character : digits) {
        const int digit = DigitValue(character.unicode());
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        value = value * static_cast<char32_t>(base) + static_cast<char32_t>(digit);
    }
    return value;
}

std::optional<QString> DecodeReference(const QStringView name) {
    static constexpr std::array<std::pair<QStringView, QChar>, 5> Named{
        {{u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''}}};
    const auto named =
        std::find_if(Named.begin(), Named.end(), [name](const auto& entry) { return entry.first == name; });
    if (named != Named.end()) {
        return QString(named->second);
    }
    if (!name.startsWith(u'#')) {
        return std::nullopt;
    }
    const bool hexadecimal = name.startsWith(u"#x");
    const auto code = ParseNumber(name.sliced(hexadecimal ? 2 : 1), hexadecimal ? 16 : 10);
    if (!code || !IsAllowedCharacter(*code)) {
        return std::nullopt;
    }
    return QString::fromUcs4(&*code, 1);
}

} // namespace

std::optional<QString> XmlEntities::Unescape(const QStringView text) {
    QString result;
    result.reserve(text.size());
    qsizetype position = 0;
    while (position < text.size()) {
        const auto ampersand = text.indexOf(u'&', position);
        if (ampersand < 0) {
            result.append(text.sliced(position));
            break;
        }
        result.append(text.sliced(position, ampersand - position));
        const auto semicolon = text.indexOf(u';', ampersand);
        if (semicolon < 0) {
            return std::nullopt;
        }
        const auto character = DecodeReference(text.sliced(ampersand + 1, semicolon - ampersand - 1));
        if (!character) {
            return std::nullopt;
        }
        result.append(*character);
        position = semicolon + 1;
    }
    return result;
}

} // namespace pagewing::sim
