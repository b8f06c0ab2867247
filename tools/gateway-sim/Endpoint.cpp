#include "gateway-sim/Endpoint.h"

#include <algorithm>

namespace pagewing::sim {

std::optional<Endpoint> Endpoint::Parse(const QStringView text) {
    const auto colon = text.lastIndexOf(u':');
    if (colon < 0) {
        return std::nullopt;
    }
    auto host = text.first(colon);
    const auto port = text.sliced(colon + 1);
    if (host.startsWith(u'[') && host.endsWith(u']')) {
        host = host.sliced(1, host.size() - 2);
    } else if (host.contains(u':')) {
        return std::nullopt;
    }
    Endpoint endpoint;
    if (host == u"localhost") {
        endpoint.Host = QHostAddress(QHostAddress::LocalHost);
    } else if (!endpoint.Host.setAddress(host.toString())) {
        return std::nullopt;
    }
    const bool digitsOnly =
        std::all_of(port.begin(), port.end(), [](const QChar c) { return c >= u'0' && c <= u'9'; });
    bool converted = false;
    const auto number = port.toUInt(&converted);
    if (!digitsOnly || port.isEmpty() || port.size() > 5 || !converted || number > 0xFFFF) {
        return std::nullopt;
    }
    endpoint.Port = static_cast<quint16>(number);
    return endpoint;
}

QString Endpoint::ToString() const {
    const auto host = Host.protocol() == QAbstractSocket::IPv6Protocol
                          ? QStringLiteral("[%1]").arg(Host.toString())
                          : Host.toString();
    return QStringLiteral("%1:%2").arg(host).arg(Port);
}

} // namespace pagewing::sim
