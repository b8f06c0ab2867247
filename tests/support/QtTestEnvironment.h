#pragma once

#include "ProductFacts.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A test of code below the windows runs without Qt Gui, as the command line does.
#ifdef QT_WIDGETS_LIB
#include <QApplication>
using PagewingTestApplication = QApplication;
#else
#include <QCoreApplication>
using PagewingTestApplication = QCoreApplication;
#endif

// Qt Test executables run in private configuration, data and runtime folders, made before QApplication
// exists because Qt fixes the settings path at its first use.
namespace pagewing::test {

inline QTemporaryDir& UserFolders() {
    static QTemporaryDir folders;
    return folders;
}

inline void IsolateUserFolders() {
    const auto root = UserFolders().path();
    for (const auto* name : {"CONFIG_HOME", "DATA_HOME", "RUNTIME_DIR", "CACHE_HOME"}) {
        const auto folder = root + u'/' + QLatin1String(name);
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(QByteArray("XDG_") + name, folder.toUtf8());
    }
}

// Removes everything the program stored, as on a first run.
inline void ForgetStoredSettings() {
    const auto config = qEnvironmentVariable("XDG_CONFIG_HOME");
    QDir(config).removeRecursively();
    QDir().mkpath(config);
}

} // namespace pagewing::test

#define PAGEWING_QTEST_MAIN(TestObject)                                                                      \
    int main(int argc, char** argv) {                                                                        \
        pagewing::test::IsolateUserFolders();                                                                \
        PagewingTestApplication app(argc, argv);                                                             \
        PagewingTestApplication::setApplicationName(QStringLiteral(PAGEWING_PRODUCT_NAME));                  \
        PagewingTestApplication::setOrganizationName(QStringLiteral(PAGEWING_PRODUCT_NAME));                 \
        TestObject test;                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
