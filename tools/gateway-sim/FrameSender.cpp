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
    connect(&Socket, &QTcpSocket::bytesWritten, this, [this] {
        if (QueuedBytes() == 0) {
            emit Drained();
        }
    });
    if (Fragment) {
        // Without it Nagle's algorithm would gather the small pieces back into one segment.
        Socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    }
}

FlapFrame FrameSender::Send(const quint8 channel, QByteArray payload) {
    auto frame = Number(channel, std::move(payload));
    const auto bytes = frame.ToBytes();
    Write(bytes, {bytes.size()});
    return frame;
}

void FrameSender::SendAll(const quint8 channel, const QList<QByteArray>& payloads) {
    QByteArray bytes;
    QList<qsizetype> frameSizes;
    frameSizes.reserve(payloads.size());
    for (const auto& payload : payloads) {
        const auto frame = Number(channel, payload).ToBytes();
        bytes.append(frame);
        frameSizes.append(frame.size());
    }
    Write(bytes, frameSizes);
}

void FrameSender::CloseWhenSent() {
    if (PendingSize() == 0) {
        Socket.disconnectFromHost();
    } else {
        CloseRequested = true;
    }
}

qint64 FrameSender::QueuedBytes() const {
    return PendingSize() + Socket.bytesToWrite();
}

FlapFrame FrameSender::Number(const quint8 channel, QByteArray payload) {
    const FlapFrame frame{channel, NextSequence, std::move(payload)};
    NextSequence = static_cast<quint16>(NextSequence + 1);
    return frame;
}

void FrameSender::Write(const QByteArray& bytes, const QList<qsizetype>& frameSizes) {
    if (!Fragment) {
        Socket.write(bytes);
        return;
    }
    Pending.append(bytes);
    PendingFrameSizes.append(frameSizes);
    if (!PieceTimer.isActive()) {
        SchedulePiece();
    }
}

void FrameSender::SchedulePiece() {
    PieceTimer.start(QRandomGenerator::global()->bounded(2));
}

void FrameSender::WriteNextPiece() {
    if (Socket.state() != QAbstractSocket::ConnectedState) {
        Pending.clear();
        PendingStart = 0;
        PendingFrameSizes.clear();
        return;
    }
    auto* const random = QRandomGenerator::global();
    const bool joinTwoFrames = PendingFrameSizes.size() >= 2 && random->bounded(4) == 0;
    const auto size = joinTwoFrames
                          ? PendingFrameSizes[0] + PendingFrameSizes[1]
                          : std::min<qsizetype>(PendingSize(), random->bounded(1, LargestPiece + 1));
    Socket.write(Pending.constData() + PendingStart, size);
    // Taken off the queue before the flush, whose bytesWritten must already see the queue as it is left.
    Consume(size);
    Socket.flush();
    if (PendingSize() > 0) {
        SchedulePiece();
    } else if (CloseRequested) {
        Socket.disconnectFromHost();
    }
}

void FrameSender::Consume(qsizetype size) {
    PendingStart += size;
    if (PendingStart == Pending.size()) {
        Pending.clear();
        PendingStart = 0;
    } else if (PendingStart > Pending.size() / 2) {
        // Moving the rest once it is under half keeps the cost of each byte constant.
        Pending.remove(0, PendingStart);
        PendingStart = 0;
    }
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
