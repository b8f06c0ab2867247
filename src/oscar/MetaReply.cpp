#include "oscar/MetaReply.h"

#include "bytes/Windows1252.h"
#include "oscar/OscarProtocol.h"

#include <algorithm>

namespace pagewing {

namespace {

// Reads big- and little-endian fields from a byte span; once a read runs past the end, every later read
// fails too.
class FieldReader {
public:
    explicit FieldReader(std::span<const std::uint8_t> bytes)
        : Bytes(bytes) {}

    std::optional<std::uint32_t> Read(std::size_t size, bool littleEndian) {
        const auto field = Take(size);
        if (!field) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const auto byte = (*field)[littleEndian ? size - 1 - i : i];
            value = value << 8 | byte;
        }
        return value;
    }

    std::optional<std::span<const std::uint8_t>> Take(std::size_t size) {
        if (Failed || size > Bytes.size()) {
            Failed = true;
            return std::nullopt;
        }
        const auto taken = Bytes.first(size);
        Bytes = Bytes.subspan(size);
        return taken;
    }

    std::span<const std::uint8_t> Rest() const { return Bytes; }

private:
    std::span<const std::uint8_t> Bytes;
    bool Failed = false;
};

std::optional<std::span<const std::uint8_t>> SnacBody(std::span<const std::uint8_t> frame) {
    if (frame.size() < Oscar::FlapHeaderSize + Oscar::SnacHeaderSize) {
        return std::nullopt;
    }
    FieldReader reader(frame.subspan(Oscar::FlapHeaderSize + 4));
    const auto flags = reader.Read(2, false).value_or(0);
    reader.Take(4);
    if ((flags & Oscar::OptionalDataFlag) != 0 && !reader.Take(reader.Read(2, false).value_or(0))) {
        return std::nullopt;
    }
    return reader.Rest();
}

} // namespace

std::optional<MetaReply> MetaReply::FromFrame(std::span<const std::uint8_t> frame) {
    const auto body = SnacBody(frame);
    if (!body) {
        return std::nullopt;
    }
    FieldReader tlv(*body);
    const auto type = tlv.Read(2, false);
    const auto length = tlv.Read(2, false);
    const auto value = tlv.Take(length.value_or(0));
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
    std::u16string text;
    for (const auto byte : Data) {
        if (byte == 0) {
            break;
        }
        const auto character = Windows1252::CharacterOf(byte);
        const bool control = character < 0x20 || (character >= 0x7F && character < 0xA0);
        if (!control) {
            text.push_back(character);
        }
    }
    const auto first = text.find_first_not_of(u' ');
    const auto last = text.find_last_not_of(u' ');
    if (first == std::u16string::npos) {
        return {};
    }
    return text.substr(first, std::min(last - first + 1, maxLength));
}

} // namespace pagewing
