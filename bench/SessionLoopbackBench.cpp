// Time from SendSMSMessage to the delivery line over loopback with the gateway simulator, 1000 messages on
// one session, plain and with every frame cut into pieces; and the process's memory before and after.

#include "BenchSupport.h"
#include "platform/QtSessionSocket.h"
#include "platform/QtSessionTimers.h"
#include "session/GlobalSettings.h"
#include "session/SMSSender.h"

#include "support/GatewaySimProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace pagewing;

namespace {

class NoClock : public StatusClock {
public:
    std::u16string CurrentDateTimeText() const override { return {}; }
};

class Waiter : public SMSSenderEvents {
public:
    void ReportMessage(const std::u16string& Message) override { Last = Message.substr(4); }
    std::u16string Last;
};

int Run(const QStringList& options, int messages) {
    test::GatewaySimProcess simulator(options);
    const auto port = simulator.WaitUntilListening() ? simulator.Port : QString();
    if (port.isEmpty()) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }

    GlobalSettings.ICQUIN = u"100200300";
    GlobalSettings.ICQPassword = u"pagewing";
    QtSessionSocket auth;
    QtSessionSocket service;
    NoClock clock;
    QtSessionTimers timers;
    Waiter events;
    SMSSender sender(auth, service, clock, timers, events);
    sender.ConnectReconnect(u"127.0.0.1", port.toStdU16String());
    if (!bench::WaitUntil([&events] { return events.Last == u"Ready to send Message"; })) {
        std::fprintf(stderr, "no login\n");
        return 1;
    }

    std::vector<double> latencies;
    bench::Memory early;
    for (int i = 0; i < messages; ++i) {
        events.Last.clear();
        const auto start = std::chrono::steady_clock::now();
        sender.SendSMSMessage(u"+15551234567", u"Bench:\r\nMessage number " + std::u16string(20, u'x'),
                              u"1252", u"100200300", u"TICQClient", u"Yes", i);
        if (!bench::WaitUntil([&events] { return events.Last == u"Message successfully delivered"; })) {
            std::fprintf(stderr, "message %d got no answer\n", i);
            return 1;
        }
        latencies.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        simulator.SmsLines();
        if (i == 9) {
            early = bench::ReadMemory();
        }
    }
    const auto late = bench::ReadMemory();
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double share) {
        return latencies[static_cast<std::size_t>(share * static_cast<double>(latencies.size() - 1))];
    };
    std::printf("%-10s %d messages: median %.0f us, p99 %.0f us, max %.0f us; "
                "RSS after 10 %ld KiB, after %d %ld KiB; peak %ld KiB -> %ld KiB\n",
                options.isEmpty() ? "plain" : "fragment", messages, at(0.5), at(0.99), latencies.back(),
                early.Resident, messages, late.Resident, early.Peak, late.Peak);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const auto messages = argc > 1 ? std::atoi(argv[1]) : 1000;
    return Run({}, messages) || Run({QStringLiteral("--fragment")}, messages);
}
