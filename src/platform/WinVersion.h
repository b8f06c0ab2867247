#pragma once

namespace pagewing::WinVersion {

// The major version number of the running operating system.
int GetWindowsMajorVersion();

// Only Windows older than 2000 (major version 5) cannot run the program. Qt 6 itself needs Windows 10, so
// this is never true in a build of ours; the check stays as the program has always made it.
bool IsUnsupportedSystem();

} // namespace pagewing::WinVersion
