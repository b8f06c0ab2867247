#include "desktop/RegisteryAccess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace pagewing::RegisteryAccess {

namespace {

// The program's own desktop entry, the one installed under share/applications, made into an autostart
// entry: the running executable instead of a name looked up in PATH, and whether it runs.
QString AutostartEntry(bool enabled, const QString& executablePath) {
    QFile templateFile(QStringLiteral(":/desktop/com.lumenfold.Pagewing.desktop"));
    templateFile.open(QIODevice::ReadOnly | QIODevice::Text);
    QString entry;
    for (const auto& line : QString::fromUtf8(templateFile.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u"Exec=")) {
            entry += QStringLiteral("Exec=") + QuotedExecPath(QFileInfo(executablePath).absoluteFilePath()) +
                     u'\n';
        } else if (!line.startsWith(u"TryExec=")) {
            entry += line + u'\n';
        }
    }
    const auto word = [](bool value) {
        return value ? QStringLiteral("true") : QStringLiteral("false");
    };
    return entry +
           QStringLiteral("X-GNOME-Autostart-enabled=%1\nHidden=%2\n").arg(word(enabled), word(!enabled));
}

} // namespace

bool WriteRunEntry(bool enabled) {
    return WriteAutostartEntry(enabled, QCoreApplication::applicationFilePath());
}

bool WriteAutostartEntry(bool enabled, const QString& executablePath) {
    const auto fileName = AutostartEntryFileName();
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return false;
    }
    file.write(AutostartEntry(enabled, executablePath).toUtf8());
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
