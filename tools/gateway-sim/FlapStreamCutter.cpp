#include "gateway-sim/FlapStreamCutter.h"

#include "gateway-sim/WireReader.h"

#include <utility>

namespace pagewing::sim {

void FlapStreamCutter::Append(const QByteArrayView bytes) {
    // Dropping the consumed front only here keeps NextFrame from moving the held bytes once per frame.
    Buffer.remove(0, ReadOffset);
    ReadOffset = 0;
    Buffer.append(bytes);
}

std::optional<FlapFrame> FlapStreamCutter::NextFrame() {
    auto start = Buffer.indexOf(FlapFrame::StartMarker, ReadOffset);
    if (start < 0) {
        start = Buffer.size();
    }
    SkippedBytes += start - ReadOffset;
    ReadOffset = start;
    if (HeldBytes() < FlapFrame::HeaderSize) {
        return std::nullopt;
    }
    WireReader header(QByteArrayView(Buffer).sliced(ReadOffset, FlapFrame::HeaderSize));
    header.ReadUInt8();
    FlapFrame frame;
    frame.Channel = header.ReadUInt8();
    frame.Sequence = header.ReadUInt16();
    const qsizetype length = header.ReadUInt16();
    if (HeldBytes() < FlapFrame::HeaderSize + length) {
        return std::nullopt;
    }
    frame.Payload = Buffer.mid(ReadOffset + FlapFrame::HeaderSize, length);
    ReadOffset += FlapFrame::HeaderSize + length;
    return frame;
}

qsizetype FlapStreamCutter::TakeSkippedBytes() {
    return std::exchange(SkippedBytes, 0);
}

} // namespace pagewing::sim
