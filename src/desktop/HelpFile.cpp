#include "desktop/HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pagewing::HelpFile {

QString Locate(const QString& fileName) {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QStringList candidates{
        programFolder.filePath(fileName),
        programFolder.filePath(QStringLiteral("../share/pagewing/") + fileName),
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("pagewing/") + fileName),
    };
    for (const auto& candidate : candidates) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).absoluteFilePath();
        }
    }
    return {};
}

} // namespace pagewing::HelpFile
