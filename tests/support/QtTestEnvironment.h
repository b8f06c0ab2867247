#pragma once

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Qt Test executables run in private configuration, data and runtime folders, made before QApplication
// exists because Qt fixes the settings path at its first use.
namespace pagewing::test {

inline QTemporaryDir& UserFolders() {
    static QTemporaryDir folders;
    return folders;
}

inline void IsolateUserFolders() {
    const auto root = UserFolders().path();
    for (const auto* name : {"config", "data", "runtime", "cache"}) {
        QDir(root).mkpath(QLatin1String(name));
    }
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (root + QStringLiteral("/runtime")).toUtf8());
    qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toUtf8());
}

// Removes everything the program stored, as on a first run.
inline void ForgetStoredSettings() {
    QDir(UserFolders().path() + QStringLiteral("/config")).removeRecursively();
    QDir(UserFolders().path()).mkpath(QStringLiteral("config"));
}

} // namespace pagewing::test

#define PAGEWING_QTEST_MAIN(TestObject)                                                                      \
    int main(int argc, char** argv) {                                                                        \
        pagewing::test::IsolateUserFolders();                                                                \
        QApplication app(argc, argv);                                                                        \
        QApplication::setApplicationName(QStringLiteral("Lumenfold Pagewing"));                              \
        QApplication::setOrganizationName(QStringLiteral("Lumenfold Pagewing"));                             \
        TestObject test;                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
