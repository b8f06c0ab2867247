// Random bytes cut into random pieces: every frame that comes out is one whole frame as its header
// describes it, and after the frames are taken the reassembler never holds more than one incomplete frame and
// the start of the header after it.

#include "oscar/FlapStreamReassembler.h"
#include "oscar/SplitSNAC.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte seeds the piece sizes; the rest is the stream.
    auto cutter = static_cast<unsigned>(data[0]) * 2654435761u + 1;
    const auto stream = std::span(data + 1, size - 1);
    pagewing::FlapStreamReassembler reassembler;
    pagewing::SplitSNAC reader;
    for (std::size_t at = 0; at < stream.size();) {
        cutter = cutter * 1103515245u + 12345u;
        const auto piece = std::min<std::size_t>(1 + (cutter >> 16) % 64, stream.size() - at);
        reassembler.Append(stream.subspan(at, piece));
        at += piece;
        for (auto frame = reassembler.NextFrame(); !frame.empty(); frame = reassembler.NextFrame()) {
            const auto described = pagewing::FlapStreamReassembler::HeaderSize +
                                   (static_cast<std::size_t>(frame[4]) << 8 | frame[5]);
            if (frame[0] != 0x2A || frame.size() != described) {
                __builtin_trap();
            }
            reader.SplitPacket(frame);
            if (reader.GetTotalLength() + 6 != static_cast<std::int32_t>(frame.size())) {
                __builtin_trap();
            }
        }
        if (reassembler.HeldBytes() >= pagewing::FlapStreamReassembler::LargestHeld) {
            __builtin_trap();
        }
    }
    return 0;
}
