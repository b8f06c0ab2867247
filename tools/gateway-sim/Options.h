#pragma once

#include "gateway-sim/DeliveryPolicy.h"
#include "gateway-sim/Endpoint.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace pagewing::sim {

struct Options {
    struct Account {
        quint32 Uin = 0;
        // The Windows-1252 bytes the client scrambles, so the check compares bytes with bytes.
        QByteArray Password;
    };

    static constexpr quint16 DefaultPort = 5190;
    static constexpr quint32 DemoUin = 100200300;
    static constexpr const char* DemoPassword = "pagewing";
    static constexpr quint32 LargestFlood = 1'000'000;

    Endpoint Authorization{QHostAddress(QHostAddress::LocalHost), DefaultPort};
    Endpoint Service{QHostAddress(QHostAddress::LocalHost), 0};
    QList<Account> Accounts{{DemoUin, DemoPassword}};
    // Set by --auth-error: every login is refused with this code, whatever the account, and with this text
    // (Windows-1252) in place of the error page's address when one is given.
    std::optional<quint16> AuthorizationError;
    std::optional<QByteArray> AuthorizationErrorText;
    DeliveryPolicy::Mode Delivery = DeliveryPolicy::Mode::ByNumber;
    // The silences and closings of real servers, each of which a client must survive.
    bool StallLogin = false;
    bool StallService = false;
    bool KeepLoginOpen = false;
    bool CloseAfterReady = false;
    // Closes the service connection right after reading an SMS request, leaving it unanswered.
    bool DropAfterRequest = false;
    // Delivery reports sent unasked right after client ready; 0 for none.
    quint32 Flood = 0;
    // Right after client ready, log the session off as for another login of the same account.
    bool AnotherLogin = false;
    bool Fragment = false;
    bool Verbose = false;
};

} // namespace pagewing::sim
