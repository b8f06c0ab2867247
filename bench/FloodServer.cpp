#include "FloodServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <utility>

namespace pagewing::bench {

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

// Closes a socket however the conversation ends.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : Fd(fd) {}
    ~Descriptor() {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return Fd; }

private:
    const int Fd;
};

void Append16(Bytes& bytes, std::size_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    bytes.push_back(static_cast<std::uint8_t>(value));
}

Bytes Frame(std::uint8_t channel, std::uint16_t sequence, const Bytes& payload) {
    Bytes frame{0x2A, channel};
    Append16(frame, sequence);
    Append16(frame, payload.size());
    frame.insert(frame.end(), payload.begin(), payload.end());
    return frame;
}

void AppendTlv(Bytes& bytes, std::uint16_t type, const std::string& value) {
    Append16(bytes, type);
    Append16(bytes, value.size());
    bytes.insert(bytes.end(), value.begin(), value.end());
}

const Bytes Hello{0x00, 0x00, 0x00, 0x01};

// SNAC 01,03: the families this server offers, which the session answers with client ready.
const Bytes ServiceFamilies{0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
                            0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, 0x09, 0x00, 0x13, 0x00, 0x15};

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

bool WaitFor(int fd, short events, Clock::time_point deadline) {
    pollfd entry{fd, events, 0};
    return ::poll(&entry, 1, MillisecondsUntil(deadline)) == 1;
}

std::pair<int, std::uint16_t> ListenOnLoopback() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* const generic = reinterpret_cast<sockaddr*>(&address);
    if (fd < 0 || ::bind(fd, generic, length) != 0 || ::listen(fd, 1) != 0 ||
        ::getsockname(fd, generic, &length) != 0) {
        throw std::runtime_error(std::string("cannot listen on loopback: ") + std::strerror(errno));
    }
    return {fd, ntohs(address.sin_port)};
}

int AcceptWithin(int listener, Clock::time_point deadline) {
    return WaitFor(listener, POLLIN, deadline) ? ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC) : -1;
}

bool SendAll(int fd, const Bytes& bytes, Clock::time_point deadline) {
    for (std::size_t sent = 0; sent < bytes.size();) {
        if (!WaitFor(fd, POLLOUT, deadline)) {
            return false;
        }
        const auto written = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (written <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    return true;
}

bool ReceiveExactly(int fd, std::uint8_t* into, std::size_t size, Clock::time_point deadline) {
    for (std::size_t received = 0; received < size;) {
        if (!WaitFor(fd, POLLIN, deadline)) {
            return false;
        }
        const auto read = ::recv(fd, into + received, size - received, 0);
        if (read <= 0) {
            return false;
        }
        received += static_cast<std::size_t>(read);
    }
    return true;
}

// The channel of the next whole frame from the client; its payload is not needed here.
std::optional<std::uint8_t> ReceiveFrame(int fd, Clock::time_point deadline) {
    std::array<std::uint8_t, 6> header{};
    if (!ReceiveExactly(fd, header.data(), header.size(), deadline) || header[0] != 0x2A) {
        return std::nullopt;
    }
    Bytes payload(static_cast<std::size_t>(header[4] << 8 | header[5]));
    if (!ReceiveExactly(fd, payload.data(), payload.size(), deadline)) {
        return std::nullopt;
    }
    return header[1];
}

} // namespace

FloodServer::FloodServer(int frames, int limitSeconds)
    : Frames(frames)
    , LimitSeconds(limitSeconds) {
    std::tie(AuthorizationListener, AuthorizationPort) = ListenOnLoopback();
    std::tie(ServiceListener, ServicePort) = ListenOnLoopback();
    Thread = std::jthread([this](const std::stop_token& stop) { Run(stop); });
}

FloodServer::~FloodServer() {
    Thread.request_stop();
    Thread.join();
    ::close(AuthorizationListener);
    ::close(ServiceListener);
}

void FloodServer::StartFlood() {
    const std::scoped_lock hold(Lock);
    FloodReleased = true;
    Released.notify_all();
}

std::string FloodServer::Error() const {
    const std::scoped_lock hold(Lock);
    return Failure;
}

void FloodServer::Fail(std::string reason) {
    const std::scoped_lock hold(Lock);
    Failure = std::move(reason);
}

void FloodServer::Run(const std::stop_token& stop) {
    try {
        Converse(stop);
    } catch (const std::exception& error) {
        Fail(error.what());
    }
}

void FloodServer::Converse(const std::stop_token& stop) {
    const auto deadline = Clock::now() + std::chrono::seconds(LimitSeconds);
    const Descriptor login(AcceptWithin(AuthorizationListener, deadline));
    if (login.Get() < 0 || !SendAll(login.Get(), Frame(1, 0, Hello), deadline) ||
        ReceiveFrame(login.Get(), deadline) != 1) {
        return Fail("no login packet");
    }
    Bytes reply;
    AppendTlv(reply, 0x0001, "100200300");
    AppendTlv(reply, 0x0005, "127.0.0.1:" + std::to_string(ServicePort));
    AppendTlv(reply, 0x0006, "flood-cookie");
    if (!SendAll(login.Get(), Frame(4, 1, reply), deadline)) {
        return Fail("the login reply was not taken");
    }

    const Descriptor service(AcceptWithin(ServiceListener, deadline));
    if (service.Get() < 0 || !SendAll(service.Get(), Frame(1, 0, Hello), deadline) ||
        ReceiveFrame(service.Get(), deadline) != 1) {
        return Fail("no cookie on the service connection");
    }
    std::unique_lock hold(Lock);
    if (!Released.wait_until(hold, stop, deadline, [this] { return FloodReleased; })) {
        return;
    }
    hold.unlock();
    Flood(service.Get(), stop);
}

void FloodServer::Flood(int connection, const std::stop_token& stop) {
    const auto deadline = Clock::now() + std::chrono::seconds(LimitSeconds);
    Bytes frames;
    frames.reserve(static_cast<std::size_t>(Frames) * (6 + ServiceFamilies.size()));
    for (int i = 0; i < Frames; ++i) {
        const auto frame = Frame(2, static_cast<std::uint16_t>(i + 1), ServiceFamilies);
        frames.insert(frames.end(), frame.begin(), frame.end());
    }
    ::fcntl(connection, F_SETFL, ::fcntl(connection, F_GETFL) | O_NONBLOCK);
    std::array<std::uint8_t, 65536> drain{};
    std::size_t sent = 0;
    // Until the bench is done: the client's answers keep coming for as long as it works through the flood.
    while (!stop.stop_requested() && Clock::now() < deadline) {
        const short events = sent < frames.size() ? POLLIN | POLLOUT : POLLIN;
        pollfd entry{connection, events, 0};
        if (::poll(&entry, 1, 50) <= 0) {
            continue;
        }
        if ((entry.revents & POLLIN) != 0 && ::recv(connection, drain.data(), drain.size(), 0) == 0) {
            return;
        }
        if ((entry.revents & POLLOUT) != 0) {
            const auto written = ::send(connection, frames.data() + sent, frames.size() - sent, MSG_NOSIGNAL);
            if (written < 0 && errno != EAGAIN) {
                return Fail("the client stopped taking frames");
            }
            sent += static_cast<std::size_t>(std::max<ssize_t>(written, 0));
        }
        if ((entry.revents & (POLLERR | POLLHUP)) != 0) {
            return;
        }
    }
}

} // namespace pagewing::bench
