#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringView>

#include <optional>

namespace pagewing::sim {

// A listening address as written on the command line and in the authorization reply: "HOST:PORT", with an
// IPv6 host in brackets.
struct Endpoint {
    QHostAddress Host;
    quint16 Port = 0;

    // The host must be an IP address or "localhost"; a simulator that resolved names could end up
    // listening somewhere the tester did not mean.
    static std::optional<Endpoint> Parse(QStringView text);
    QString ToString() const;
};

} // namespace pagewing::sim
