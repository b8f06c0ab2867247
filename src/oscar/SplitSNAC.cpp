#include "oscar/SplitSNAC.h"

#include "oscar/OscarProtocol.h"

#include <algorithm>
#include <stdexcept>

namespace pagewing {

namespace {
constexpr auto FlapHeaderSize = static_cast<std::int32_t>(Oscar::FlapHeaderSize);
// Family and subtype are all of the SNAC header that is read.
constexpr std::int32_t SnacIdEnd = FlapHeaderSize + 4;
} // namespace

void SplitSNAC::SplitPacket(std::span<const std::uint8_t> Packet) {
    Succeed = false;
    ClearTLVEnum();
    SetPacketData(Packet);

    const auto size = Data.GetDataByteArraySize();
    if (size < FlapHeaderSize || Data.View()[0] != Oscar::FrameStart) {
        return;
    }
    Channel = Data.ToNumberStartLength(1, 1);
    Sequence = Data.ToNumberStartLength(2, 2);
    TotalLength = Data.ToNumberStartLength(4, 2);
    const bool oneWholeFrame = size == TotalLength + FlapHeaderSize;

    if (Channel == Oscar::LoginChannel || Channel == Oscar::CloseChannel) {
        if (IsGreeting(size)) {
            AddTLVToEnum(0, 0, 0);
            Succeed = true;
        } else if (size >= 11 && oneWholeFrame) {
            WalkTLVs(size);
        }
    } else if (Channel == Oscar::SnacChannel && size >= SnacIdEnd && oneWholeFrame) {
        SNACFamily = Data.ToNumberStartLength(6, 2);
        SNACSubtype = Data.ToNumberStartLength(8, 2);
        ByteArrayTools::BytesToString(Data.View(), SNACString);
        Succeed = true;
    }
}

std::int32_t SplitSNAC::GetTLVID(std::int32_t Index) const {
    return Entry(Index).ID;
}

std::int32_t SplitSNAC::GetTLVStart(std::int32_t Index) const {
    return Entry(Index).Start;
}

std::int32_t SplitSNAC::GetTLVLength(std::int32_t Index) const {
    return Entry(Index).Length;
}

std::vector<std::uint8_t> SplitSNAC::GetTLVDataByteArray(std::int32_t Index) const {
    const auto& entry = Entry(Index);
    return Data.ToByteArrayStartLength(entry.Start, entry.Length);
}

std::u16string SplitSNAC::GetTLVDataHexString(std::int32_t Index) const {
    const auto& entry = Entry(Index);
    return Data.ToHexStringStartLength(entry.Start, entry.Length);
}

std::u16string SplitSNAC::GetTLVDataString(std::int32_t Index) const {
    const auto& entry = Entry(Index);
    return Data.ToStringStartLength(entry.Start, entry.Length);
}

std::int32_t SplitSNAC::IsTLVPresent(std::int32_t TLVNum) const {
    for (auto i = TLVCount - 1; i >= 0; --i) {
        if (TLVEnum[static_cast<std::size_t>(i)].ID == TLVNum) {
            return i;
        }
    }
    return -1;
}

void SplitSNAC::SetPacketData(std::span<const std::uint8_t> Packet) {
    Data.ClearDataByteArray();
    Data.AppendAfterDataByteArrayWithByteArray(Packet);
}

void SplitSNAC::ClearTLVEnum() {
    TLVEnum.clear();
    TLVCount = 0;
}

void SplitSNAC::AddTLVToEnum(std::int32_t ID, std::int32_t Start, std::int32_t Length) {
    TLVEnum.push_back({ID, Start, Length});
    ++TLVCount;
}

const SplitSNAC::TLVEnumEntry& SplitSNAC::Entry(std::int32_t Index) const {
    if (TLVCount == 0) {
        throw std::out_of_range("the frame holds no TLVs");
    }
    return TLVEnum[static_cast<std::size_t>(std::clamp(Index, 0, TLVCount - 1))];
}

// The hello that both servers send on connect: channel 1, data length 4, the FLAP version 00 00 00 01.
bool SplitSNAC::IsGreeting(std::int32_t size) const {
    return size >= 10 && Data.ToHexStringStartLength(0, 2) == u"2A01" &&
           Data.ToHexStringStartLength(4, 6) == u"000400000001";
}

void SplitSNAC::WalkTLVs(std::int32_t size) {
    // A TLV whose length claims more than the frame holds is still entered and ends the walk; reading its
    // value then fails.
    std::int32_t valueStart = 10;
    do {
        const auto length = Data.ToNumberStartLength(valueStart - 2, 2);
        AddTLVToEnum(Data.ToNumberStartLength(valueStart - 4, 2), valueStart, length);
        valueStart += length + 4;
    } while (valueStart < size);
    Succeed = true;
}

} // namespace pagewing
