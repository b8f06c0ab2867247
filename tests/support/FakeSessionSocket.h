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
//
// As a server does, the fake numbers the frames it delivers one up on each connection, from a start close to
// the wrap: Receive takes whole frames and writes their sequence numbers, ReceiveBytes delivers bytes as they
// are (pieces of frames, garbage), and Numbered gives frames their numbers for that.
class FakeSessionSocket : public SessionSocket {
public:
    void Connect(const std::u16string& RemoteHost, const std::u16string& RemotePort) override {
        Connects.push_back(RemoteHost + u" " + RemotePort);
        Open = true;
        NextSequence = 0xFFFE;
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
    void Receive(std::span<const std::uint8_t> frames) { RaiseDataArrival(Numbered(frames)); }
    void ReceiveBytes(std::span<const std::uint8_t> bytes) const { RaiseDataArrival(bytes); }
    void Fail(const std::u16string& description) const { RaiseError(description); }
    // The server ends the connection.
    void Hangup() {
        Open = false;
        RaiseClosed();
    }

    std::vector<std::uint8_t> Numbered(std::span<const std::uint8_t> frames) {
        std::vector<std::uint8_t> numbered(frames.begin(), frames.end());
        for (std::size_t at = 0; at + 6 <= numbered.size();
             at += 6 + static_cast<std::size_t>(numbered[at + 4] << 8 | numbered[at + 5])) {
            numbered[at + 2] = static_cast<std::uint8_t>(NextSequence >> 8);
            numbered[at + 3] = static_cast<std::uint8_t>(NextSequence++);
        }
        return numbered;
    }

    std::vector<std::u16string> Connects;
    std::vector<std::vector<std::uint8_t>> Sent;
    int Closes = 0;
    bool Open = false;
    bool FailWrites = false;
    std::uint16_t NextSequence = 0xFFFE;
};

} // namespace pagewing::test
