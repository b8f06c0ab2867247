#pragma once

#include "bytes/ByteArrayOperations.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pagewing {

// The data byte array from which every outgoing packet is built and into which every received frame is
// loaded. Texts are UTF-16 and become one Windows-1252 byte per character; hex strings are two digits per
// byte; numbers are 0 to 2147483647 in one to four bytes, big-endian (Number) or little-endian
// (NumberReversed).
//
// Failures: std::overflow_error (a negative number, a character without a one-byte code, a four-byte read
// above 2147483647) and std::out_of_range (a password over 16 characters, an empty byte array to append,
// a read past the data). The data is left as it was, except that a failing String append keeps the bytes
// of the characters before the failing one. Unusable input (an odd-length hex string, an empty text, a byte
// count outside 1 to 4) is ignored without an error.
class ByteArrayTools {
public:
    void ClearDataByteArray();

    void AppendAfterDataByteArrayWithByteArray(std::span<const std::uint8_t> ByteArray);
    void AppendAfterDataByteArrayWithString(std::u16string_view Val);
    void AppendAfterDataByteArrayWithHexString(std::u16string_view Val);
    void AppendAfterDataByteArrayWithPassWordString(std::u16string_view Val);
    void AppendAfterDataByteArrayWithNumber(std::int32_t Number, std::int32_t NumOfBytes);
    void AppendAfterDataByteArrayWithNumberReversed(std::int32_t Number, std::int32_t NumOfBytes);

    void AppendBeforeDataByteArrayWithByteArray(std::span<const std::uint8_t> ByteArray);
    void AppendBeforeDataByteArrayWithString(std::u16string_view Val);
    void AppendBeforeDataByteArrayWithHexString(std::u16string_view Val);
    void AppendBeforeDataByteArrayWithPassWordString(std::u16string_view Val);
    void AppendBeforeDataByteArrayWithNumber(std::int32_t Number, std::int32_t NumOfBytes);
    void AppendBeforeDataByteArrayWithNumberReversed(std::int32_t Number, std::int32_t NumOfBytes);

    std::int32_t GetDataByteArraySize() const;
    std::vector<std::uint8_t> ToByteArray() const;
    std::u16string ToHexString() const;
    std::u16string ToString() const;
    std::vector<std::uint8_t> ToByteArrayStartLength(std::int32_t Start, std::int32_t Length) const;
    std::u16string ToHexStringStartLength(std::int32_t Start, std::int32_t Length) const;
    std::u16string ToStringStartLength(std::int32_t Start, std::int32_t Length) const;
    std::int32_t ToNumberStartLength(std::int32_t Start, std::int32_t Length) const;
    std::int32_t ToNumberReversedStartLength(std::int32_t Start, std::int32_t Length) const;

    // The data without a copy; valid until the next change.
    std::span<const std::uint8_t> View() const { return Buffer.View(); }

    // Hex string and text renderings of any bytes, as ToHexString and ToString render the data.
    static std::u16string BytesToHexString(std::span<const std::uint8_t> bytes);
    static std::u16string BytesToString(std::span<const std::uint8_t> bytes);
    // The same into an existing string, reusing its storage.
    static void BytesToString(std::span<const std::uint8_t> bytes, std::u16string& text);

private:
    enum class Where { After, Before };

    static std::uint8_t HexPairToByte(std::u16string_view Val);
    static std::vector<std::uint8_t> HexStringToByteArray(std::u16string_view Val);
    static std::vector<std::uint8_t> PassWordStringToByteArray(std::u16string_view Val);
    static std::vector<std::uint8_t> NumberToBytes(std::int32_t Number, std::int32_t NumOfBytes,
                                                   bool reversed);

    void Append(Where where, std::span<const std::uint8_t> bytes);
    void AppendString(Where where, std::u16string_view Val);
    // Writes one byte per character until a character without a code; returns how many were written.
    static std::size_t EncodeString(std::u16string_view text, std::uint8_t* bytes);
    std::span<const std::uint8_t> Slice(std::int32_t Start, std::int32_t Length) const;
    std::int32_t SliceToNumber(std::int32_t Start, std::int32_t Length, bool reversed) const;

    ByteArrayOperations Buffer;
};

} // namespace pagewing
