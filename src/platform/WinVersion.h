#pragma once

namespace pagewing::WinVersion {

// The major version number of the running operating system.
int GetWindowsMajorVersion();

// Only Windows older than 2000 (major version 5) cannot run the program.
bool IsUnsupportedSystem();

} // namespace pagewing::WinVersion
