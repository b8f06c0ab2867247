#include "platform/HyperLink.h"

#include <QDesktopServices>
#include <QUrl>

namespace pagewing::HyperLink {

void OpenLink(const QString& address) {
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

} // namespace pagewing::HyperLink
