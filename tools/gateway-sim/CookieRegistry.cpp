#include "gateway-sim/CookieRegistry.h"

#include <QRandomGenerator>

#include <array>

namespace pagewing::sim {

QByteArray CookieRegistry::Issue(const quint32 uin) {
    std::array<quint32, CookieSize / sizeof(quint32)> words{};
    QRandomGenerator::system()->fillRange(words.data(), static_cast<qsizetype>(words.size()));
    QByteArray cookie(reinterpret_cast<const char*>(words.data()), CookieSize);
    Outstanding.insert(cookie, uin);
    return cookie;
}

std::optional<quint32> CookieRegistry::Redeem(const QByteArrayView cookie) {
    const auto found = Outstanding.constFind(cookie.toByteArray());
    if (found == Outstanding.constEnd()) {
        return std::nullopt;
    }
    const auto uin = *found;
    Outstanding.erase(found);
    return uin;
}

} // namespace pagewing::sim
