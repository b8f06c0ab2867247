#pragma once

#include <QString>

namespace pagewing::HyperLink {

// Hands a web or mailto address to the desktop's default application, as written: nothing is encoded first.
void OpenLink(const QString& address);

} // namespace pagewing::HyperLink
