#pragma once

#include <QString>

// Start at logon. On the Linux desktop this is an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/lumenfold-pagewing.desktop; turning the option off keeps the entry and marks it
// Hidden=true, so it is present but not run. The program never reads the entry back: StartUp is the truth.
namespace pagewing::RegisteryAccess {

// Writes the entry for the running executable; returns false when the file could not be written.
bool WriteRunEntry(bool enabled);

// Writes the entry for the given executable; returns false when the file could not be written.
bool WriteAutostartEntry(bool enabled, const QString& executablePath);

QString AutostartEntryFileName();

// The executable path as a desktop entry's Exec key needs it: quoted, with ", `, $ and \ escaped.
QString QuotedExecPath(const QString& executablePath);

} // namespace pagewing::RegisteryAccess
