#pragma once

#include "gateway-sim/FlapFrame.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace pagewing::sim {

// Cuts one connection's byte stream into FLAP frames. TCP joins and splits the client's writes as it
// pleases, so the frame boundaries come only from the length field in each header.
class FlapStreamCutter {
public:
    void Append(QByteArrayView bytes);

    // The next whole frame, or empty when the held bytes end before one is complete. Bytes that cannot
    // start a frame are dropped up to the next 0x2A and counted.
    std::optional<FlapFrame> NextFrame();

    // How many bytes were dropped since the last call; they point at a client that lost its framing.
    qsizetype TakeSkippedBytes();
    qsizetype HeldBytes() const { return Buffer.size() - ReadOffset; }

private:
    QByteArray Buffer;
    qsizetype ReadOffset = 0;
    qsizetype SkippedBytes = 0;
};

} // namespace pagewing::sim
