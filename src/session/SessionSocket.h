#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace pagewing {

// The TCP client connection that the session works through. Implementations deliver every event on the
// caller's thread, from its event loop, never from inside Connect, SendData or Close.
class SessionSocket {
public:
    struct EventHandlers {
        // The connection asked for by Connect is made.
        std::function<void()> Connected;
        std::function<void(std::span<const std::uint8_t> Data)> DataArrival;
        // The socket layer's own description of the failure ("Connection refused", "Host not found", ...).
        std::function<void(const std::u16string& Description)> Error;
        // The peer ended an open connection, by closing or resetting it. A Close of our own raises nothing.
        std::function<void()> Closed;
    };

    virtual ~SessionSocket() = default;

    // Starts connecting and returns at once; the outcome arrives later as Connected or Error.
    virtual void Connect(const std::u16string& RemoteHost, const std::u16string& RemotePort) = 0;
    // Queues the bytes for sending; throws when they cannot be sent (the connection is not open).
    virtual void SendData(std::span<const std::uint8_t> Data) = 0;
    // Drops the connection, or the attempt to make one; harmless when there is none.
    virtual void Close() = 0;

    void SetEventHandlers(EventHandlers handlers) { Handlers = std::move(handlers); }

protected:
    SessionSocket() = default;

    void RaiseConnected() const;
    void RaiseDataArrival(std::span<const std::uint8_t> Data) const;
    void RaiseError(const std::u16string& Description) const;
    void RaiseClosed() const;

private:
    EventHandlers Handlers;
};

} // namespace pagewing
