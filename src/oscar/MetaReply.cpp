#include "oscar/MetaReply.h"

#include "bytes/Windows1252.h"
#include "oscar/FieldReader.h"
#include "oscar/OscarProtocol.h"

#include <algorithm>

namespace pagewing {

std::optional<MetaReply> MetaReply::FromFrame(std::span<const std::uint8_t> frame) {
    auto tlv = FieldReader::SnacBodyOf(frame);
    if (!tlv) {
        return std::nullopt;
    }
    const auto type = tlv->Read(2, false);
    const auto length = tlv->Read(2, false);
    const auto value = tlv->Take(length.value_or(0));
    if (!value || type != static_cast<std::uint32_t>(Oscar::MetaDataTlv)) {
        return std::nullopt;
    }
    // The chunk size repeats the TLV's length less its own two bytes; when the two disagree, one of them
    // lies and nothing in the reply can be trusted.
    FieldReader chunk(*value);
    const auto chunkSize = chunk.Read(2, true);
    if (!chunkSize || *chunkSize != chunk.Rest().size()) {
        return std::nullopt;
    }
    const auto owner = chunk.Read(4, true);
    const auto metaType = chunk.Read(2, true);
    const auto sequence = chunk.Read(2, true);
    const auto subtype = chunk.Read(2, true);
    const auto result = chunk.Read(1, true);
    if (!result || metaType != Oscar::MetaReplyType) {
        return std::nullopt;
    }
    const auto data = chunk.Rest();
    return MetaReply{*owner, static_cast<std::uint16_t>(*sequence), static_cast<std::uint16_t>(*subtype),
                     static_cast<std::uint8_t>(*result), std::vector<std::uint8_t>(data.begin(), data.end())};
}

bool MetaReply::DataHolds(std::string_view text) const {
    const auto lower = [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    };
    return std::search(Data.begin(), Data.end(), text.begin(), text.end(),
                       [&](std::uint8_t byte, char wanted) {
                           return lower(byte) == lower(static_cast<unsigned char>(wanted));
                       }) != Data.end();
}

std::u16string MetaReply::PrintableText(std::size_t maxLength) const {
    return Windows1252::PrintableText(Data, maxLength);
}

} // namespace pagewing
