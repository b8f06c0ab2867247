#include "bytes/ByteArrayTools.h"

#include "bytes/Windows1252.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace pagewing {

namespace {

// The table that the OSCAR login exclusive-ors the password with, one entry per character position.
constexpr std::array<std::uint8_t, 16> PasswordScramblingTable = {
    0xF3, 0x26, 0x81, 0xC4, 0x39, 0x86, 0xDB, 0x92, 0x71, 0xA3, 0xB9, 0xE6, 0x53, 0x7A, 0x95, 0x7C};

constexpr std::u16string_view HexDigits = u"0123456789ABCDEF";

std::uint8_t NibbleOf(char16_t digit) {
    if (digit >= u'0' && digit <= u'9') {
        return static_cast<std::uint8_t>(digit - u'0');
    }
    if (digit >= u'A' && digit <= u'F') {
        return static_cast<std::uint8_t>(digit - u'A' + 10);
    }
    if (digit >= u'a' && digit <= u'f') {
        return static_cast<std::uint8_t>(digit - u'a' + 10);
    }
    return 0;
}

std::uint8_t CodeOf(char16_t character) {
    const auto code = Windows1252::ByteOf(character);
    if (!code) {
        throw std::overflow_error("character has no Windows-1252 code");
    }
    return *code;
}

} // namespace

void ByteArrayTools::ClearDataByteArray() {
    Buffer.Clear();
}

void ByteArrayTools::AppendAfterDataByteArrayWithByteArray(std::span<const std::uint8_t> ByteArray) {
    if (ByteArray.empty()) {
        throw std::out_of_range("an empty byte array cannot be appended");
    }
    Append(Where::After, ByteArray);
}

void ByteArrayTools::AppendAfterDataByteArrayWithString(std::u16string_view Val) {
    AppendString(Where::After, Val);
}

void ByteArrayTools::AppendAfterDataByteArrayWithHexString(std::u16string_view Val) {
    Append(Where::After, HexStringToByteArray(Val));
}

void ByteArrayTools::AppendAfterDataByteArrayWithPassWordString(std::u16string_view Val) {
    Append(Where::After, PassWordStringToByteArray(Val));
}

void ByteArrayTools::AppendAfterDataByteArrayWithNumber(std::int32_t Number, std::int32_t NumOfBytes) {
    Append(Where::After, NumberToBytes(Number, NumOfBytes, false));
}

void ByteArrayTools::AppendAfterDataByteArrayWithNumberReversed(std::int32_t Number,
                                                                std::int32_t NumOfBytes) {
    Append(Where::After, NumberToBytes(Number, NumOfBytes, true));
}

void ByteArrayTools::AppendBeforeDataByteArrayWithByteArray(std::span<const std::uint8_t> ByteArray) {
    if (ByteArray.empty()) {
        throw std::out_of_range("an empty byte array cannot be appended");
    }
    Append(Where::Before, ByteArray);
}

void ByteArrayTools::AppendBeforeDataByteArrayWithString(std::u16string_view Val) {
    AppendString(Where::Before, Val);
}

void ByteArrayTools::AppendBeforeDataByteArrayWithHexString(std::u16string_view Val) {
    Append(Where::Before, HexStringToByteArray(Val));
}

void ByteArrayTools::AppendBeforeDataByteArrayWithPassWordString(std::u16string_view Val) {
    Append(Where::Before, PassWordStringToByteArray(Val));
}

void ByteArrayTools::AppendBeforeDataByteArrayWithNumber(std::int32_t Number, std::int32_t NumOfBytes) {
    Append(Where::Before, NumberToBytes(Number, NumOfBytes, false));
}

void ByteArrayTools::AppendBeforeDataByteArrayWithNumberReversed(std::int32_t Number,
                                                                 std::int32_t NumOfBytes) {
    Append(Where::Before, NumberToBytes(Number, NumOfBytes, true));
}

std::int32_t ByteArrayTools::GetDataByteArraySize() const {
    return Buffer.GetByteArraySize();
}

std::vector<std::uint8_t> ByteArrayTools::ToByteArray() const {
    return Buffer.GetByteArray();
}

std::u16string ByteArrayTools::ToHexString() const {
    return GetDataByteArraySize() == 0 ? u"00" : BytesToHexString(View());
}

std::u16string ByteArrayTools::ToString() const {
    return GetDataByteArraySize() == 0 ? u"." : BytesToString(View());
}

std::vector<std::uint8_t> ByteArrayTools::ToByteArrayStartLength(std::int32_t Start,
                                                                 std::int32_t Length) const {
    const auto slice = Slice(Start, Length);
    return {slice.begin(), slice.end()};
}

std::u16string ByteArrayTools::ToHexStringStartLength(std::int32_t Start, std::int32_t Length) const {
    return BytesToHexString(Slice(Start, Length));
}

std::u16string ByteArrayTools::ToStringStartLength(std::int32_t Start, std::int32_t Length) const {
    return BytesToString(Slice(Start, Length));
}

std::int32_t ByteArrayTools::ToNumberStartLength(std::int32_t Start, std::int32_t Length) const {
    return SliceToNumber(Start, Length, false);
}

std::int32_t ByteArrayTools::ToNumberReversedStartLength(std::int32_t Start, std::int32_t Length) const {
    return SliceToNumber(Start, Length, true);
}

std::u16string ByteArrayTools::BytesToHexString(std::span<const std::uint8_t> bytes) {
    std::u16string hex;
    hex.reserve(bytes.size() * 2);
    for (const auto byte : bytes) {
        hex.push_back(HexDigits[byte >> 4]);
        hex.push_back(HexDigits[byte & 0x0F]);
    }
    return hex;
}

std::u16string ByteArrayTools::BytesToString(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    BytesToString(bytes, text);
    return text;
}

void ByteArrayTools::BytesToString(std::span<const std::uint8_t> bytes, std::u16string& text) {
    text.resize(bytes.size());
    const auto* in = bytes.data();
    auto* out = text.data();
    // Written without branches so that the compiler turns it into vector instructions: every SNAC reply is
    // rendered in full.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto printable = static_cast<std::uint8_t>(in[i] - 32) < 95;
        out[i] = printable ? char16_t{in[i]} : u'.';
    }
}

std::uint8_t ByteArrayTools::HexPairToByte(std::u16string_view Val) {
    if (Val.size() != 2) {
        return 0;
    }
    return static_cast<std::uint8_t>(NibbleOf(Val[0]) * 16 + NibbleOf(Val[1]));
}

std::vector<std::uint8_t> ByteArrayTools::HexStringToByteArray(std::u16string_view Val) {
    if (Val.size() < 2 || Val.size() % 2 != 0) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(Val.size() / 2);
    for (std::size_t i = 0; i < Val.size(); i += 2) {
        bytes.push_back(HexPairToByte(Val.substr(i, 2)));
    }
    return bytes;
}

std::vector<std::uint8_t> ByteArrayTools::PassWordStringToByteArray(std::u16string_view Val) {
    // The table does not wrap: a seventeenth character has no entry to be scrambled with.
    if (Val.size() > PasswordScramblingTable.size()) {
        throw std::out_of_range("a password holds at most 16 characters");
    }
    std::vector<std::uint8_t> scrambled(Val.size());
    for (std::size_t i = 0; i < Val.size(); ++i) {
        scrambled[i] = static_cast<std::uint8_t>(CodeOf(Val[i]) ^ PasswordScramblingTable[i]);
    }
    return scrambled;
}

std::vector<std::uint8_t> ByteArrayTools::NumberToBytes(std::int32_t Number, std::int32_t NumOfBytes,
                                                        bool reversed) {
    if (Number < 0) {
        throw std::overflow_error("only numbers from 0 to 2147483647 can be written");
    }
    if (NumOfBytes < 1 || NumOfBytes > 4) {
        return {};
    }
    const auto value = static_cast<std::uint32_t>(Number);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(NumOfBytes));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(value >> (8 * i));
        if (reversed) {
            bytes[i] = byte;
        } else {
            bytes[bytes.size() - 1 - i] = byte;
        }
    }
    return bytes;
}

void ByteArrayTools::Append(Where where, std::span<const std::uint8_t> bytes) {
    if (where == Where::After) {
        Buffer.AppendBytesToTheEnd(bytes);
    } else {
        Buffer.MovePointerToBeginning();
        Buffer.AppendBytes(bytes);
    }
}

void ByteArrayTools::AppendString(Where where, std::u16string_view Val) {
    // Long texts (a whole SMS document) are encoded in pieces through a small buffer after the data; in
    // front of the data they go in one run. Either way the characters before a failing one are kept, as a
    // character-by-character append would keep them.
    if (where == Where::Before) {
        std::vector<std::uint8_t> bytes(Val.size());
        const auto encoded = EncodeString(Val, bytes.data());
        Append(where, std::span(bytes).first(encoded));
        if (encoded < Val.size()) {
            throw std::overflow_error("character has no Windows-1252 code");
        }
        return;
    }
    std::array<std::uint8_t, 1024> piece{};
    for (std::size_t at = 0; at < Val.size(); at += piece.size()) {
        const auto text = Val.substr(at, piece.size());
        const auto encoded = EncodeString(text, piece.data());
        Append(where, std::span(piece).first(encoded));
        if (encoded < text.size()) {
            throw std::overflow_error("character has no Windows-1252 code");
        }
    }
}

std::size_t ByteArrayTools::EncodeString(std::u16string_view text, std::uint8_t* bytes) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = Windows1252::ByteOf(text[i]);
        if (!code) {
            return i;
        }
        bytes[i] = *code;
    }
    return text.size();
}

std::span<const std::uint8_t> ByteArrayTools::Slice(std::int32_t Start, std::int32_t Length) const {
    if (Start < 0 || Length < 1) {
        return {};
    }
    const auto data = View();
    if (static_cast<std::int64_t>(Start) + Length > static_cast<std::int64_t>(data.size())) {
        throw std::out_of_range("read past the end of the data");
    }
    return data.subspan(static_cast<std::size_t>(Start), static_cast<std::size_t>(Length));
}

std::int32_t ByteArrayTools::SliceToNumber(std::int32_t Start, std::int32_t Length, bool reversed) const {
    if (Length < 1 || Length > 4 || Start < 0) {
        return 0;
    }
    const auto bytes = Slice(Start, Length);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = reversed ? bytes[bytes.size() - 1 - i] : bytes[i];
        value = (value << 8) | byte;
    }
    if (value > 0x7FFFFFFFu) {
        throw std::overflow_error("the number read is above 2147483647");
    }
    return static_cast<std::int32_t>(value);
}

} // namespace pagewing
