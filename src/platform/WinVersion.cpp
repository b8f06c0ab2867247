#include "platform/WinVersion.h"

#include <QOperatingSystemVersion>

namespace pagewing::WinVersion {

int GetWindowsMajorVersion() {
    return QOperatingSystemVersion::current().majorVersion();
}

bool IsUnsupportedSystem() {
    return QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows &&
           GetWindowsMajorVersion() < 5;
}

} // namespace pagewing::WinVersion
