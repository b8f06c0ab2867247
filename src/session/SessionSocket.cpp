#include "session/SessionSocket.h"

namespace pagewing {

namespace {

template <typename Handler, typename... Arguments>
void Raise(const Handler& handler, const Arguments&... arguments) {
    if (handler) {
        handler(arguments...);
    }
}

} // namespace

void SessionSocket::RaiseConnected() const {
    Raise(Handlers.Connected);
}

void SessionSocket::RaiseDataArrival(std::span<const std::uint8_t> Data) const {
    Raise(Handlers.DataArrival, Data);
}

void SessionSocket::RaiseError(const std::u16string& Description) const {
    Raise(Handlers.Error, Description);
}

void SessionSocket::RaiseClosed() const {
    Raise(Handlers.Closed);
}

} // namespace pagewing
