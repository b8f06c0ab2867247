#pragma once

#include "gateway-sim/Snac.h"

#include <QObject>

#include <functional>

namespace pagewing::sim {

class ClientConnection;

// Sends a long run of SNACs down one connection a batch at a time, each batch in one write once the one
// before has gone to the system. A million frames then cost about a hundred writes and the memory of one
// batch, not a million event-loop turns or all of them at once, and a client that stops reading holds the
// rest back instead of filling the simulator's memory. Lives as a child of the connection.
class SnacBatcher : public QObject {
    Q_OBJECT

public:
    static constexpr quint32 BatchSize = 10'000;

    // next makes each SNAC in turn; whenAllSent runs once the last batch is handed to the connection.
    SnacBatcher(ClientConnection& connection, quint32 count, std::function<Snac()> next,
                std::function<void()> whenAllSent);

private:
    void SendBatch();

    ClientConnection& Connection;
    quint32 Remaining;
    const std::function<Snac()> Next;
    const std::function<void()> WhenAllSent;
};

} // namespace pagewing::sim
