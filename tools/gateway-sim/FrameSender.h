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
    // Closes gracefully once every queued byte is written.
    void CloseWhenSent();

private:
    void SchedulePiece();
    void WriteNextPiece();
    void Consume(qsizetype size);

    QTcpSocket& Socket;
    const bool Fragment;
    // Each server connection counts on its own from a random start, as real servers do, so a client
    // cannot get away with expecting a particular first number.
    quint16 NextSequence;
    QByteArray Pending;
    // The unsent bytes of each queued frame, oldest first; they add up to Pending's size.
    QList<qsizetype> PendingFrameSizes;
    QTimer PieceTimer;
    bool CloseRequested = false;
};

} // namespace pagewing::sim
