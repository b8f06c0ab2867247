#pragma once

#include "ProductFacts.h"

#include <QString>

// The product's name, version and addresses, kept in one place.
namespace pagewing::ProductInfo {

inline const QString Name = QStringLiteral(PAGEWING_PRODUCT_NAME);
inline const QString Version = QStringLiteral(PAGEWING_VERSION);
inline const QString AppId = QStringLiteral(PAGEWING_APP_ID);
inline const QString NameAndVersion = Name + QStringLiteral(" v") + Version;
// What a second start of the window is told.
inline const QString AlreadyRunning = NameAndVersion + QStringLiteral(" already running!");
inline const QString Creator = QStringLiteral("Written by the Lumenfold team");
inline const QString MakerWebSite = QStringLiteral("https://lumenfold.example/");
inline const QString DownloadPage = QStringLiteral("https://lumenfold.example/pagewing/download");
inline const QString RegistrationPage = QStringLiteral("https://www.icq.com/register/");
// Handed to the mail program exactly as written, spaces and all.
inline const QString SendToAFriend =
    QStringLiteral("mailto:?subject=Free Lumenfold Pagewing allows you to send SMS messages to all networks, "
                   "supported by ICQ&body=") +
    DownloadPage;
inline const QString HelpFileName = QStringLiteral("LumenfoldPagewing.html");

} // namespace pagewing::ProductInfo
