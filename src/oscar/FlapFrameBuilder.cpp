#include "oscar/FlapFrameBuilder.h"

#include "oscar/GlobalSequenceCounter.h"

#include <stdexcept>

namespace pagewing {

std::vector<std::uint8_t> FlapFrameBuilder::ToByteArray() const {
    return Data.ToByteArray();
}

std::u16string FlapFrameBuilder::ToHexString() const {
    return Data.ToHexString();
}

std::u16string FlapFrameBuilder::ToString() const {
    return Data.ToString();
}

std::vector<std::uint8_t> FlapFrameBuilder::ToByteArrayStartLength(std::int32_t Start,
                                                                   std::int32_t Length) const {
    return Data.ToByteArrayStartLength(Start, Length);
}

std::u16string FlapFrameBuilder::ToHexStringStartLength(std::int32_t Start, std::int32_t Length) const {
    return Data.ToHexStringStartLength(Start, Length);
}

std::u16string FlapFrameBuilder::ToStringStartLength(std::int32_t Start, std::int32_t Length) const {
    return Data.ToStringStartLength(Start, Length);
}

std::int32_t FlapFrameBuilder::Length16(std::size_t length) {
    if (length > 0xFFFF) {
        throw std::length_error("a length does not fit its 16-bit field");
    }
    return static_cast<std::int32_t>(length);
}

void FlapFrameBuilder::Frame(std::u16string_view startAndChannel, bool prependPayloadLength) {
    if (prependPayloadLength) {
        Data.AppendBeforeDataByteArrayWithNumber(
            Length16(static_cast<std::size_t>(Data.GetDataByteArraySize())), 2);
    }
    Data.AppendBeforeDataByteArrayWithNumber(GlobalSequenceCounter::NextSequenceNumber(), 2);
    Data.AppendBeforeDataByteArrayWithHexString(startAndChannel);
}

} // namespace pagewing
