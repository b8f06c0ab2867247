#include "desktop/HyperLink.h"

#include <QDesktopServices>
#include <QUrl>

namespace pagewing::HyperLink {

bool OpenLink(const QString& address) {
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

} // namespace pagewing::HyperLink
