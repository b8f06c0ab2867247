#pragma once

#include "gateway-sim/FlapFrame.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

namespace pagewing::sim {

// Numbers and writes the frames of one connection. With fragmenting on, the frames queue up and leave in
// random pieces, one write and flush each, a timer tick apart so that TCP sends them as separate segments.
// When several frames wait, now and then the rest of one and the whole next leave in a single write, so the
// client also meets two frames in one segment. The timer runs only while bytes are queued.
class FrameSender : public QObject {
    Q_OBJECT

public:
    static constexpr int LargestPiece = 16;

    FrameSender(QTcpSocket& socket, bool fragment);

    // The frame as sent, sequence number included, for the log.
    FlapFrame Send(quint8 channel, QByteArray payload);
    // A frame for each payload, all handed to the socket (or the fragment queue) at once.
    void SendAll(quint8 channel, const QList<QByteArray>& payloads);
    // Closes gracefully once every queued byte is written.
    void CloseWhenSent();
    // What was sent but is not yet with the system: the fragment queue and the socket's own buffer.
    qint64 QueuedBytes() const;

signals:
    // Every queued byte has gone to the system.
    void Drained();

private:
    FlapFrame Number(quint8 channel, QByteArray payload);
    void Write(const QByteArray& bytes, const QList<qsizetype>& frameSizes);
    void SchedulePiece();
    void WriteNextPiece();
    void Consume(qsizetype size);
    qsizetype PendingSize() const { return Pending.size() - PendingStart; }

    QTcpSocket& Socket;
    const bool Fragment;
    // Each server connection counts on its own from a random start, as real servers do, so a client
    // cannot get away with expecting a particular first number.
    quint16 NextSequence;
    // The queue starts at PendingStart, so taking a piece off the front does not move everything behind it
    // (a flood of frames would otherwise cost the square of its size).
    QByteArray Pending;
    qsizetype PendingStart = 0;
    // The unsent bytes of each queued frame, oldest first; they add up to PendingSize().
    QList<qsizetype> PendingFrameSizes;
    QTimer PieceTimer;
    bool CloseRequested = false;
};

} // namespace pagewing::sim
