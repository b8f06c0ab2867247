#pragma once

#include "gateway-sim/AuthorizationServer.h"
#include "gateway-sim/CookieRegistry.h"
#include "gateway-sim/Endpoint.h"
#include "gateway-sim/Options.h"
#include "gateway-sim/ServiceServer.h"

#include <QString>

namespace pagewing::sim {

class Reporter;

// The whole simulated network: both servers and the cookies that pass between them.
class GatewaySimulator {
public:
    GatewaySimulator(const Options& options, Reporter& log);

    // The service server opens first, because every login reply names its port.
    bool Start();
    const QString& ErrorString() const { return Error; }

    Endpoint AuthorizationAddress() const { return Authorization.Address(); }
    Endpoint ServiceAddress() const { return Service.Address(); }
    // "authorization server on HOST:PORT, service server on HOST:PORT", the line scripts wait for.
    QString ListeningLine() const;

private:
    const Options Settings;
    CookieRegistry Cookies;
    ServiceServer Service;
    AuthorizationServer Authorization;
    QString Error;
};

} // namespace pagewing::sim
