#include "gateway-sim/SnacBatcher.h"

#include "gateway-sim/ClientConnection.h"

#include <QList>

#include <algorithm>
#include <utility>

namespace pagewing::sim {

SnacBatcher::SnacBatcher(ClientConnection& connection, const quint32 count, std::function<Snac()> next,
                         std::function<void()> whenAllSent)
    : QObject(&connection)
    , Connection(connection)
    , Remaining(count)
    , Next(std::move(next))
    , WhenAllSent(std::move(whenAllSent)) {
    connect(&Connection, &ClientConnection::Drained, this, &SnacBatcher::SendBatch);
    SendBatch();
}

void SnacBatcher::SendBatch() {
    if (Remaining == 0) {
        return;
    }
    const auto size = std::min(Remaining, BatchSize);
    QList<Snac> batch;
    batch.reserve(size);
    for (quint32 i = 0; i < size; ++i) {
        batch.append(Next());
    }
    Remaining -= size;
    Connection.SendSnacs(batch);
    if (Remaining == 0) {
        WhenAllSent();
        deleteLater();
    }
}

} // namespace pagewing::sim
