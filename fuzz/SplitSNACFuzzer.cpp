// One received block into the reader, then every getter on every entry: nothing may crash, and a getter
// may fail only with the two errors that the reader documents.

#include "oscar/SplitSNAC.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace {

template <typename Read>
void ReadAllowingOutOfRange(Read read) {
    try {
        read();
    } catch (const std::out_of_range&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pagewing::SplitSNAC reader;
    try {
        reader.SplitPacket(std::span(data, size));
    } catch (const std::out_of_range&) {
        if (size != 0) {
            __builtin_trap();
        }
        return 0;
    }
    volatile std::int64_t sink = reader.GetChannelID() + reader.GetPacketSequence() +
                                 reader.GetTotalLength() + reader.GetSNACFamily() + reader.GetSNACSubtype() +
                                 static_cast<std::int64_t>(reader.GetSNACString().size()) +
                                 reader.GetSucceed();
    const auto count = reader.GetTLVEnumSize();
    for (std::int32_t i = -1; i <= count; ++i) {
        ReadAllowingOutOfRange([&] {
            sink = sink + reader.GetTLVID(i) + reader.GetTLVStart(i) + reader.GetTLVLength(i);
            sink = sink + reader.IsTLVPresent(reader.GetTLVID(i));
        });
        ReadAllowingOutOfRange(
            [&] { sink = sink + static_cast<std::int64_t>(reader.GetTLVDataByteArray(i).size()); });
        ReadAllowingOutOfRange(
            [&] { sink = sink + static_cast<std::int64_t>(reader.GetTLVDataHexString(i).size()); });
        ReadAllowingOutOfRange(
            [&] { sink = sink + static_cast<std::int64_t>(reader.GetTLVDataString(i).size()); });
    }
    return 0;
}
