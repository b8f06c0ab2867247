#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace pagewing {

// The TCP client connection that the session works through. Implementations deliver both events on the
// caller's thread, from its event loop, never from inside Connect, SendData or Close.
class SessionSocket {
public:
    using DataArrivalHandler = std::function<void(std::span<const std::uint8_t> Data)>;
    using ErrorHandler = std::function<void(const std::u16string& Description)>;

    virtual ~SessionSocket() = default;

    // Starts connecting and returns at once; a failure arrives later as an Error event.
    virtual void Connect(const std::u16string& RemoteHost, const std::u16string& RemotePort) = 0;
    // Queues the bytes for sending; throws when they cannot be sent (the connection is not open).
    virtual void SendData(std::span<const std::uint8_t> Data) = 0;
    // Drops the connection; harmless when none is open.
    virtual void Close() = 0;

    void SetEventHandlers(DataArrivalHandler onDataArrival, ErrorHandler onError);

protected:
    SessionSocket() = default;

    void RaiseDataArrival(std::span<const std::uint8_t> Data) const;
    // The socket layer's own description of the failure ("Connection refused", "Host not found", ...).
    void RaiseError(const std::u16string& Description) const;

private:
    DataArrivalHandler OnDataArrival;
    ErrorHandler OnError;
};

} // namespace pagewing
