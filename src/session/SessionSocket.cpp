#include "session/SessionSocket.h"

namespace pagewing {

void SessionSocket::SetEventHandlers(DataArrivalHandler onDataArrival, ErrorHandler onError) {
    OnDataArrival = std::move(onDataArrival);
    OnError = std::move(onError);
}

void SessionSocket::RaiseDataArrival(std::span<const std::uint8_t> Data) const {
    if (OnDataArrival) {
        OnDataArrival(Data);
    }
}

void SessionSocket::RaiseError(const std::u16string& Description) const {
    if (OnError) {
        OnError(Description);
    }
}

} // namespace pagewing
