// Time from a click on Send Message in the real window to the SMS request written to the service socket,
// against the gateway simulator on loopback, headless.

#include "BenchSupport.h"
#include "desktop/DesktopIntegration.h"
#include "session/GlobalSettings.h"
#include "ui/ImageButton.h"
#include "ui/MainFrm.h"
#include "ui/StatusList.h"

#include "support/GatewaySimProcess.h"
#include "support/SeededSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace pagewing;

int main(int argc, char* argv[]) {
    QTemporaryDir profile;
    bench::UsePrivateProfile(profile);
    QApplication app(argc, argv);
    bench::NameApplication();
    const auto clicks = argc > 1 ? std::atoi(argv[1]) : 200;

    test::GatewaySimProcess simulator;
    if (!simulator.WaitUntilListening()) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }
    test::SeedAccount(simulator.Host, simulator.Port);

    DesktopIntegration desktop;
    MainFrm window(desktop);
    window.Load();
    auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
    const auto newest = [status] {
        return status->Count() == 0 ? QString() : status->Line(status->Count() - 1);
    };
    if (!bench::WaitUntil([&] { return newest().endsWith(u"Ready to send Message"); })) {
        std::fprintf(stderr, "no login\n");
        return 1;
    }
    window.findChild<QComboBox*>(QStringLiteral("cmbMobileNumber"))
        ->setEditText(QStringLiteral("+15551234567"));
    auto* send = window.findChild<ImageButton*>(QStringLiteral("cmdSendMessage"));
    auto* socket = window.findChild<QObject*>(QStringLiteral("WinsockCtrl2"))->findChild<QTcpSocket*>();

    std::vector<double> latencies;
    std::chrono::steady_clock::time_point clicked;
    bool written = false;
    QObject::connect(socket, &QTcpSocket::bytesWritten, [&] {
        if (!written) {
            written = true;
            latencies.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - clicked)
                    .count());
        }
    });
    for (int i = 0; i < clicks; ++i) {
        written = false;
        const auto lines = status->Count();
        clicked = std::chrono::steady_clock::now();
        QTest::mouseClick(send, Qt::LeftButton);
        if (!bench::WaitUntil([&] { return written && status->Count() >= lines + 2; })) {
            std::fprintf(stderr, "click %d: nothing written or no answer\n", i);
            return 1;
        }
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("Send click to request written on the socket, %d clicks: median %.0f us, p99 %.0f us\n",
                clicks, latencies[latencies.size() / 2], latencies[latencies.size() * 99 / 100]);
    return 0;
}
