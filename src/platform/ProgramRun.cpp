#include "platform/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pagewing::ProgramRun {

namespace {

QString LockFileName(const QString& run) {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/lumenfold-pagewing-run-%1.lock").arg(run);
}

int OpenLockFile(const QString& run, int flags) {
    return ::open(QFile::encodeName(LockFileName(run)).constData(), flags | O_NOFOLLOW | O_CLOEXEC, 0600);
}

// The run's lock: an exclusive flock on a file of its name, which the system lets go when the process ends,
// however it ends. Nothing is written to the file, so taking it costs no disk sync.
struct HeldRun {
    HeldRun()
        : Name(QUuid::createUuid().toString(QUuid::WithoutBraces)) {
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
        File = OpenLockFile(Name, O_RDWR | O_CREAT | O_EXCL);
        if (File >= 0) {
            ::flock(File, LOCK_EX | LOCK_NB);
        }
    }
    ~HeldRun() {
        if (File >= 0) {
            ::unlink(QFile::encodeName(LockFileName(Name)).constData());
            ::close(File);
        }
    }
    HeldRun(const HeldRun&) = delete;
    HeldRun& operator=(const HeldRun&) = delete;

    const QString Name;
    int File = -1;
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
    const int file = OpenLockFile(run, O_RDONLY);
    if (file < 0) {
        return false;
    }
    const bool held = ::flock(file, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(file);
    // A run that is gone leaves its file behind when it was killed; the next look finds it free again.
    if (!held) {
        ::unlink(QFile::encodeName(LockFileName(run)).constData());
    }
    return held;
}

} // namespace pagewing::ProgramRun
