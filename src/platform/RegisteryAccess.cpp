#include "platform/RegisteryAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace pagewing::RegisteryAccess {

void WriteRunEntry(bool enabled) {
    WriteAutostartEntry(enabled, QCoreApplication::applicationFilePath());
}

bool WriteAutostartEntry(bool enabled, const QString& executablePath) {
    const auto fileName = AutostartEntryFileName();
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return false;
    }
    const auto hidden = enabled ? QStringLiteral("false") : QStringLiteral("true");
    const auto entry =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Lumenfold Pagewing\n"
                       "Comment=Send SMS text messages through an OSCAR network's SMS gateway\n"
                       "Exec=%1\n"
                       "Icon=com.lumenfold.Pagewing\n"
                       "Terminal=false\n"
                       "X-GNOME-Autostart-enabled=%2\n"
                       "Hidden=%3\n")
            .arg(QuotedExecPath(QFileInfo(executablePath).absoluteFilePath()),
                 enabled ? QStringLiteral("true") : QStringLiteral("false"), hidden);
    file.write(entry.toUtf8());
    return file.commit();
}

QString AutostartEntryFileName() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/lumenfold-pagewing.desktop");
}

QString QuotedExecPath(const QString& executablePath) {
    // Inside the quotes ", `, $ and \ take a backslash; the key's value is then a string, in which every
    // backslash is written twice. A literal % is written %%.
    QString quoted;
    for (const auto character : executablePath) {
        if (character == u'"' || character == u'`' || character == u'$') {
            quoted += QStringLiteral("\\\\") + character;
        } else if (character == u'\\') {
            quoted += QStringLiteral("\\\\\\\\");
        } else if (character == u'%') {
            quoted += QStringLiteral("%%");
        } else {
            quoted += character;
        }
    }
    return u'"' + quoted + u'"';
}

} // namespace pagewing::RegisteryAccess
