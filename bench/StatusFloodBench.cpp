// Status lines from the network into the real window, headless: a loopback server (FloodServer, a thread of
// its own) logs the window in and floods it with SNAC 01,03 frames, each worth one status line. For each
// count of lines, in a fresh process, it measures the window thread's CPU time, the longest gap between
// the ticks of a 20 ms timer (how long the window could have kept a key press waiting) and the growth of
// resident memory from the start of the flood; then it checks the targets: 100,000 lines in at most 2 s of
// CPU, no gap over 100 ms, at most 40 MB more memory.
//
//   pagewing_status_flood_bench [--limit SECONDS] [LINES...]     (default: 1000 10000 100000, limit 120 s)

#include "BenchSupport.h"
#include "FloodServer.h"

#include "desktop/DesktopIntegration.h"
#include "session/GlobalSettings.h"
#include "ui/MainFrm.h"
#include "ui/StatusList.h"

#include "support/SeededSettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

using namespace pagewing;
using pagewing::bench::FloodServer;

namespace {

constexpr double CpuTargetSeconds = 2.0;
constexpr int TargetLines = 100000;
constexpr double GapTargetMilliseconds = 100.0;
constexpr double MemoryTargetMegabytes = 40.0;
constexpr auto TickInterval = std::chrono::milliseconds(20);

struct Figures {
    int Lines = 0;
    int Reached = 0;
    double CpuSeconds = 0;
    double LongestGapMilliseconds = 0;
    double ResidentGrowthMegabytes = 0;
    double PeakGrowthMegabytes = 0;
};

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

QString NewestLine(const StatusList& status) {
    return status.Count() == 0 ? QString() : status.Line(status.Count() - 1);
}

// Runs the flood into the window until every line is in or the limit has passed.
Figures Measure(const StatusList& status, FloodServer& server, int lines, int limitSeconds) {
    const auto start = bench::ReadMemory();
    const auto startLines = status.Count();
    const auto startCpu = ThreadCpuSeconds();
    auto lastTick = std::chrono::steady_clock::now();
    const auto deadline = lastTick + std::chrono::seconds(limitSeconds);
    std::chrono::steady_clock::duration longestGap{};
    long peakResident = start.Resident;

    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const auto now = std::chrono::steady_clock::now();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        peakResident = std::max(peakResident, bench::ReadMemory().Resident);
        if (status.Count() - startLines >= lines || now > deadline) {
            loop.quit();
        }
    });
    tick.start(TickInterval);
    server.StartFlood();
    loop.exec();

    Figures figures;
    figures.Lines = lines;
    figures.CpuSeconds = ThreadCpuSeconds() - startCpu;
    figures.Reached = status.Count() - startLines;
    figures.LongestGapMilliseconds = std::chrono::duration<double, std::milli>(longestGap).count();
    const auto end = bench::ReadMemory();
    // A peak above the one before the flood was reached during it; otherwise the ticks' samples tell.
    const auto peak = end.Peak > start.Peak ? std::max(end.Peak, peakResident) : peakResident;
    figures.ResidentGrowthMegabytes = static_cast<double>(end.Resident - start.Resident) / 1024;
    figures.PeakGrowthMegabytes = static_cast<double>(peak - start.Resident) / 1024;
    return figures;
}

// One count of lines in this process, which then prints one "result" line for the parent to read.
int RunFlood(int argc, char* argv[], int lines, int limitSeconds) {
    QTemporaryDir profile;
    bench::UsePrivateProfile(profile);
    QApplication app(argc, argv);
    bench::NameApplication();

    // The server outlives the limit, so that its closing the connection is never counted as a line.
    FloodServer server(lines, limitSeconds + 60);
    test::SeedAccount(QStringLiteral("127.0.0.1"), QString::number(server.LoginPort()));
    DesktopIntegration desktop;
    MainFrm window(desktop);
    window.Load();
    const auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
    if (!bench::WaitUntil([&] { return NewestLine(*status).endsWith(u"Sending Cookie"); })) {
        std::fprintf(stderr, "no login: %s; last line \"%s\"\n", server.Error().c_str(),
                     qPrintable(NewestLine(*status)));
        return 2;
    }
    const auto figures = Measure(*status, server, lines, limitSeconds);
    std::printf("result %d %d %.4f %.2f %.2f %.2f\n", figures.Lines, figures.Reached, figures.CpuSeconds,
                figures.LongestGapMilliseconds, figures.ResidentGrowthMegabytes, figures.PeakGrowthMegabytes);
    return 0;
}

bool RunChild(const QString& self, int lines, int limitSeconds, Figures& figures) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(self, {QStringLiteral("--child"), QString::number(lines), QStringLiteral("--limit"),
                       QString::number(limitSeconds)});
    if (!child.waitForFinished((limitSeconds + 60) * 1000)) {
        child.kill();
        child.waitForFinished();
        return false;
    }
    const auto output = child.readAllStandardOutput().toStdString();
    const auto at = output.find("result ");
    return at != std::string::npos &&
           std::sscanf(output.c_str() + at, "result %d %d %lf %lf %lf %lf", &figures.Lines, &figures.Reached,
                       &figures.CpuSeconds, &figures.LongestGapMilliseconds, &figures.ResidentGrowthMegabytes,
                       &figures.PeakGrowthMegabytes) == 6;
}

const char* Verdict(bool pass) {
    return pass ? "PASS" : "FAIL";
}

int Report(const std::vector<Figures>& runs) {
    bool allIn = true;
    bool quick = true;
    bool small = true;
    bool cheap = true;
    bool measuredTarget = false;
    std::printf("%9s %9s %8s %9s %8s %9s %9s\n", "lines", "arrived", "CPU s", "us/line", "gap ms", "RSS +MB",
                "peak +MB");
    for (const auto& run : runs) {
        std::printf("%9d %9d %8.3f %9.1f %8.1f %9.1f %9.1f\n", run.Lines, run.Reached, run.CpuSeconds,
                    run.CpuSeconds * 1e6 / std::max(run.Reached, 1), run.LongestGapMilliseconds,
                    run.ResidentGrowthMegabytes, run.PeakGrowthMegabytes);
        allIn = allIn && run.Reached >= run.Lines;
        quick = quick && run.LongestGapMilliseconds <= GapTargetMilliseconds;
        small = small && run.PeakGrowthMegabytes <= MemoryTargetMegabytes;
        if (run.Lines == TargetLines) {
            measuredTarget = true;
            cheap = run.Reached >= run.Lines && run.CpuSeconds <= CpuTargetSeconds;
        }
    }
    std::printf("every line arrived within the limit:        %s\n", Verdict(allIn));
    if (measuredTarget) {
        std::printf("100,000 lines in <= %.0f s of the window's CPU: %s\n", CpuTargetSeconds, Verdict(cheap));
    }
    std::printf("longest gap between 20 ms ticks <= %.0f ms: %s\n", GapTargetMilliseconds, Verdict(quick));
    std::printf("peak memory growth <= %.0f MB:              %s\n", MemoryTargetMegabytes, Verdict(small));
    const bool pass = allIn && cheap && quick && small;
    std::printf("%s\n", pass ? "targets met" : "TARGET MISSED");
    return pass ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    int limitSeconds = 120;
    int childLines = 0;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if ((argument == "--limit" || argument == "--child") && i + 1 < argc) {
            (argument == "--limit" ? limitSeconds : childLines) = std::atoi(argv[++i]);
        } else {
            counts.push_back(std::atoi(argv[i]));
        }
    }
    if (childLines > 0) {
        return RunFlood(argc, argv, childLines, limitSeconds);
    }
    if (counts.empty()) {
        counts = {1000, 10000, TargetLines};
    }
    QCoreApplication app(argc, argv);
    std::vector<Figures> runs;
    for (const auto lines : counts) {
        Figures figures;
        if (!RunChild(QCoreApplication::applicationFilePath(), lines, limitSeconds, figures)) {
            std::fprintf(stderr, "the run with %d lines gave no figures\n", lines);
            return 2;
        }
        runs.push_back(figures);
    }
    return Report(runs);
}
