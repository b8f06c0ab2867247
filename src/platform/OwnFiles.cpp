#include "platform/OwnFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pagewing::OwnFiles {

namespace {

constexpr mode_t OwnerOnly = S_IRUSR | S_IWUSR;

QString Tr(const char* text) {
    return QCoreApplication::translate("OwnFiles", text);
}

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

// Closes the descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int descriptor)
        : Value(descriptor) {}
    ~Descriptor() {
        if (Value >= 0) {
            ::close(Value);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return Value; }

private:
    int Value;
};

bool IsRegularFile(int descriptor) {
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

QString Distrust(const QString& path, Owners owners) {
    struct stat status {};
    if (::stat(Native(path).constData(), &status) != 0) {
        return Tr("%1 cannot be examined").arg(path);
    }
    const bool byRoot = owners == Owners::UserOrRoot && status.st_uid == 0;
    if (status.st_uid != ::getuid() && !byRoot) {
        return Tr("%1 belongs to another user").arg(path);
    }
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return Tr("others can write to %1").arg(path);
    }
    return {};
}

QString DistrustFile(const QString& path) {
    const QFileInfo file(path);
    QStringList checked{file.absolutePath(), path};
    if (file.isSymLink()) {
        checked.append(QFileInfo(file.canonicalFilePath()).absolutePath());
    }
    for (const auto& each : checked) {
        if (auto distrust = Distrust(each, Owners::UserOrRoot); !distrust.isEmpty()) {
            return distrust;
        }
    }
    return {};
}

bool IsLink(const QString& path) {
    struct stat status {};
    return ::lstat(Native(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}

bool Exists(const QString& path) {
    struct stat status {};
    return ::lstat(Native(path).constData(), &status) == 0;
}

bool KeepPrivate(const QString& path) {
    // Non-blocking: a FIFO planted under the name must not hold the program.
    const Descriptor file(::open(Native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    return file.Get() >= 0 && IsRegularFile(file.Get()) && ::fchmod(file.Get(), OwnerOnly) == 0;
}

bool CreatePrivate(const QString& path) {
    const Descriptor file(
        ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, OwnerOnly));
    // A umask can only take permissions away; the mode is set again so that the file is exactly 0600.
    return file.Get() >= 0 && ::fchmod(file.Get(), OwnerOnly) == 0;
}

} // namespace pagewing::OwnFiles
