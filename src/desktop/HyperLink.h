#pragma once

#include <QString>

namespace pagewing::HyperLink {

// Hands a web or mailto address to the desktop's default application, as written: nothing is encoded first.
// False when no program could be started for it.
bool OpenLink(const QString& address);

} // namespace pagewing::HyperLink
