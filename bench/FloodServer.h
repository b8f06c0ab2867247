#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace pagewing::bench {

// A bare OSCAR authorization and service server on loopback, in a thread of its own so that the window's
// thread pays only for its own work. It logs one client in (hello, login reply with a cookie and the service
// address, service hello, the cookie back) and then, once told to, sends SNAC 01,03 again and again: the
// session answers each with client ready and a "Ready to send Message" line, so N frames make N lines. What
// the client writes is read and dropped throughout, so that its socket never backs up.
class FloodServer {
public:
    // Every wait and the flood itself end by themselves after `limitSeconds`.
    FloodServer(int frames, int limitSeconds);
    ~FloodServer();
    FloodServer(const FloodServer&) = delete;
    FloodServer& operator=(const FloodServer&) = delete;

    std::uint16_t LoginPort() const { return AuthorizationPort; }
    // Lets the frames go once the client has presented its cookie.
    void StartFlood();
    // Why the conversation stopped early; empty while all went well.
    std::string Error() const;

private:
    void Run(const std::stop_token& stop);
    void Converse(const std::stop_token& stop);
    void Flood(int connection, const std::stop_token& stop);
    void Fail(std::string reason);

    const int Frames;
    const int LimitSeconds;
    int AuthorizationListener = -1;
    int ServiceListener = -1;
    std::uint16_t AuthorizationPort = 0;
    std::uint16_t ServicePort = 0;
    mutable std::mutex Lock;
    std::condition_variable_any Released;
    bool FloodReleased = false;
    std::string Failure;
    std::jthread Thread;
};

} // namespace pagewing::bench
