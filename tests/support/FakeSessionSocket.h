#pragma once

#include "session/SessionSocket.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace pagewing::test {

// A socket that records what the session does with it and lets a test play the server's side; Accept
// completes the last connect, which Connects holds as "host port".
class FakeSessionSocket : public SessionSocket {
public:
    void Connect(const std::u16string& RemoteHost, const std::u16string& RemotePort) override {
        Connects.push_back(RemoteHost + u" " + RemotePort);
        Open = true;
    }

    void SendData(std::span<const std::uint8_t> Data) override {
        if (!Open || FailWrites) {
            throw std::runtime_error("not connected");
        }
        Sent.emplace_back(Data.begin(), Data.end());
    }

    void Close() override {
        ++Closes;
        Open = false;
    }

    void Accept() const { RaiseConnected(); }
    void Receive(std::span<const std::uint8_t> bytes) const { RaiseDataArrival(bytes); }
    void Fail(const std::u16string& description) const { RaiseError(description); }
    // The server ends the connection.
    void Hangup() {
        Open = false;
        RaiseClosed();
    }

    std::vector<std::u16string> Connects;
    std::vector<std::vector<std::uint8_t>> Sent;
    int Closes = 0;
    bool Open = false;
    bool FailWrites = false;
};

} // namespace pagewing::test
