#include "gateway-sim/FrameSender.h"

#include <QRandomGenerator>

#include <algorithm>
#include <utility>

namespace pagewing::sim {

FrameSender::FrameSender(QTcpSocket& socket, const bool fragment)
    : Socket(socket)
    , Fragment(fragment)
    , NextSequence(static_cast<quint16>(QRandomGenerator::global()->bounded(0x10000u))) {
    PieceTimer.setSingleShot(true);
    connect(&PieceTimer, &QTimer::timeout, this, &FrameSender::WriteNextPiece);
    if (Fragment) {
        // Without it Nagle's algorithm would gather the small pieces back into one segment.
        Socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }
}

FlapFrame FrameSender::Send(const quint8 channel, QByteArray payload) {
    const FlapFrame frame{channel, NextSequence, std::move(payload)};
    NextSequence = static_cast<quint16>(NextSequence + 1);
    if (!Fragment) {
        Socket.write(frame.ToBytes());
        return frame;
    }
    const auto bytes = frame.ToBytes();
    Pending.append(bytes);
    PendingFrameSizes.append(bytes.size());
    if (!PieceTimer.isActive()) {
        SchedulePiece();
    }
    return frame;
}

void FrameSender::CloseWhenSent() {
    if (Pending.isEmpty()) {
        Socket.disconnectFromHost();
    } else {
        CloseRequested = true;
    }
}

void FrameSender::SchedulePiece() {
    PieceTimer.start(QRandomGenerator::global()->bounded(2));
}

void FrameSender::WriteNextPiece() {
    if (Socket.state() != QAbstractSocket::ConnectedState) {
        Pending.clear();
        PendingFrameSizes.clear();
        return;
    }
    auto* const random = QRandomGenerator::global();
    const bool joinTwoFrames = PendingFrameSizes.size() >= 2 && random->bounded(4) == 0;
    const auto size = joinTwoFrames
                          ? PendingFrameSizes[0] + PendingFrameSizes[1]
                          : std::min<qsizetype>(Pending.size(), random->bounded(1, LargestPiece + 1));
    Socket.write(Pending.constData(), size);
    Socket.flush();
    Consume(size);
    if (!Pending.isEmpty()) {
        SchedulePiece();
    } else if (CloseRequested) {
        Socket.disconnectFromHost();
    }
}

void FrameSender::Consume(qsizetype size) {
    Pending.remove(0, size);
    while (size > 0) {
        const auto taken = std::min(size, PendingFrameSizes.first());
        PendingFrameSizes.first() -= taken;
        size -= taken;
        if (PendingFrameSizes.first() == 0) {
            PendingFrameSizes.removeFirst();
        }
    }
}

} // namespace pagewing::sim
