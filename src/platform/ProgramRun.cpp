#include "platform/ProgramRun.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QUuid>

#include <memory>

namespace pagewing::ProgramRun {

namespace {

QString LockFileName(const QString& run) {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/lumenfold-pagewing-run-%1.lock").arg(run);
}

struct HeldRun {
    HeldRun()
        : Name(QUuid::createUuid().toString(QUuid::WithoutBraces))
        , Lock(std::make_unique<QLockFile>(LockFileName(Name))) {
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
        Lock->setStaleLockTime(0);
        Lock->tryLock(0);
    }

    const QString Name;
    const std::unique_ptr<QLockFile> Lock;
};

HeldRun& This() {
    static HeldRun run;
    return run;
}

} // namespace

const QString& Own() {
    return This().Name;
}

bool IsAlive(const QString& run) {
    if (run.isEmpty()) {
        return false;
    }
    if (run == This().Name) {
        return true;
    }
    // A lock whose owner is gone is taken at once; the name is random, so nobody else wants it.
    QLockFile lock(LockFileName(run));
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    return lock.error() == QLockFile::LockFailedError;
}

} // namespace pagewing::ProgramRun
