#pragma once

#include "platform/ProductInfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <functional>

// What the benchmarks that run the program's own event loop share.
namespace pagewing::bench {

// The program's settings and single-copy lock in a folder of the benchmark's own, and no display needed; call
// before the application exists, which names itself as the program does.
inline void UsePrivateProfile(const QTemporaryDir& profile) {
    qputenv("XDG_CONFIG_HOME", profile.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", profile.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline void NameApplication() {
    QCoreApplication::setOrganizationName(ProductInfo::Name);
    QCoreApplication::setApplicationName(ProductInfo::Name);
}

// Resident and peak resident memory of this process, in KiB.
struct Memory {
    long Resident = 0;
    long Peak = 0;
};

inline Memory ReadMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    Memory memory;
    for (const auto& line : QString::fromUtf8(status.readAll()).split(u'\n')) {
        const auto value = line.section(u':', 1).trimmed().section(u' ', 0, 0).toLong();
        if (line.startsWith(u"VmRSS")) {
            memory.Resident = value;
        } else if (line.startsWith(u"VmHWM")) {
            memory.Peak = value;
        }
    }
    return memory;
}

// Runs the event loop until done() holds; false after the limit without.
inline bool WaitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limit.count()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

} // namespace pagewing::bench
