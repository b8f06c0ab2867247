#pragma once

#include "bytes/ByteArrayTools.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pagewing {

// Takes apart one received frame: its FLAP header, the server's hello, the TLVs of a login-channel or
// close-channel frame, and the family, subtype and text of a SNAC frame. A block that is not exactly one
// complete frame is not recognised (GetSucceed false); the FLAP stream reassembler cuts the stream into
// single frames before they come here.
class SplitSNAC {
public:
    // Made only from a TLV found in the block.
    struct TLVEnumEntry {
        std::int32_t ID;
        std::int32_t Start; // offset of the value from the first byte of the block
        std::int32_t Length;
    };

    // Throws std::out_of_range for an empty block.
    void SplitPacket(std::span<const std::uint8_t> Packet);

    std::int32_t GetChannelID() const { return Channel; }
    std::int32_t GetPacketSequence() const { return Sequence; }
    std::int32_t GetTotalLength() const { return TotalLength; }
    std::int32_t GetTLVEnumSize() const { return TLVCount; }

    // Index is brought into range silently; with no entries these throw std::out_of_range, and the value
    // getters also when the value reaches past the end of the block.
    std::int32_t GetTLVID(std::int32_t Index) const;
    std::int32_t GetTLVStart(std::int32_t Index) const;
    std::int32_t GetTLVLength(std::int32_t Index) const;
    std::vector<std::uint8_t> GetTLVDataByteArray(std::int32_t Index) const;
    std::u16string GetTLVDataHexString(std::int32_t Index) const;
    std::u16string GetTLVDataString(std::int32_t Index) const;

    // The index of the last TLV of this type, or -1.
    std::int32_t IsTLVPresent(std::int32_t TLVNum) const;

    std::int32_t GetSNACFamily() const { return SNACFamily; }
    std::int32_t GetSNACSubtype() const { return SNACSubtype; }
    // The whole frame as text, header included: bytes 32 to 126 as characters, others as ".".
    const std::u16string& GetSNACString() const { return SNACString; }
    bool GetSucceed() const { return Succeed; }

private:
    void SetPacketData(std::span<const std::uint8_t> Packet);
    void ClearTLVEnum();
    void AddTLVToEnum(std::int32_t ID, std::int32_t Start, std::int32_t Length);
    const TLVEnumEntry& Entry(std::int32_t Index) const;
    bool IsGreeting(std::int32_t size) const;
    void WalkTLVs(std::int32_t size);

    std::int32_t Channel = 0;
    std::int32_t Sequence = 0;
    std::int32_t TotalLength = 0;
    std::vector<TLVEnumEntry> TLVEnum;
    std::int32_t TLVCount = 0;
    ByteArrayTools Data;
    bool Succeed = false;
    std::int32_t SNACFamily = 0;
    std::int32_t SNACSubtype = 0;
    std::u16string SNACString;
};

} // namespace pagewing
