#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

#include <optional>

namespace pagewing::sim {

// The cookies the authorization server has handed out and the service server has not yet taken back.
// A cookie stands for one login, so it opens exactly one service session.
class CookieRegistry {
public:
    static constexpr qsizetype CookieSize = 256;
    // The TLV that carries the cookie, from the authorization server's answer to the service login.
    static constexpr quint16 CookieTlv = 0x0006;

    // A fresh cookie from the system's random source, so no client can guess or predict one.
    QByteArray Issue(quint32 uin);
    // The account the cookie was issued to, once; empty for a cookie never issued or already redeemed.
    std::optional<quint32> Redeem(QByteArrayView cookie);

private:
    QHash<QByteArray, quint32> Outstanding;
};

} // namespace pagewing::sim
