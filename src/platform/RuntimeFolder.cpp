#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

namespace pagewing::RuntimeFolder {

namespace {

constexpr QFile::Permissions Private = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                       QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;

bool IsOwnFolder(const QFileInfo& folder) {
    return folder.isDir() && !folder.isSymLink() && folder.ownerId() == ::getuid();
}

QString UserName() {
    const auto* account = ::getpwuid(::getuid());
    return account ? QFile::decodeName(account->pw_name) : QString::number(::getuid());
}

// Qt's own choice, made without its warning; a folder of that name that is someone else's is not used.
QString PrivateFolder() {
    const auto folder = QDir::tempPath() + QStringLiteral("/runtime-") + UserName();
    if (!QFileInfo::exists(folder)) {
        QDir().mkdir(folder, Private);
    }
    if (IsOwnFolder(QFileInfo(folder))) {
        QFile::setPermissions(folder, Private);
        return folder;
    }
    QTemporaryDir unique(QDir::tempPath() + QStringLiteral("/runtime-XXXXXX"));
    unique.setAutoRemove(false);
    return unique.path();
}

} // namespace

void Settle() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        return;
    }
    const QFileInfo session(QStringLiteral("/run/user/%1").arg(::getuid()));
    const auto folder = IsOwnFolder(session) && session.permissions() == Private ? session.absoluteFilePath()
                                                                                 : PrivateFolder();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
}

} // namespace pagewing::RuntimeFolder
