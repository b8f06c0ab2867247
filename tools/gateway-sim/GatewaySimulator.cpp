#include "gateway-sim/GatewaySimulator.h"

namespace pagewing::sim {

GatewaySimulator::GatewaySimulator(const Options& options, Reporter& log)
    : Settings(options)
    , Service(options, Cookies, log)
    , Authorization(options, Cookies, Service, log) {}

bool GatewaySimulator::Start() {
    if (!Service.Listen(Settings.Service)) {
        Error = QStringLiteral("cannot listen on %1 for the service server: %2")
                    .arg(Settings.Service.ToString(), Service.ErrorString());
        return false;
    }
    if (!Authorization.Listen(Settings.Authorization)) {
        Error = QStringLiteral("cannot listen on %1 for the authorization server: %2")
                    .arg(Settings.Authorization.ToString(), Authorization.ErrorString());
        return false;
    }
    return true;
}

QString GatewaySimulator::ListeningLine() const {
    return QStringLiteral("authorization server on %1, service server on %2")
        .arg(AuthorizationAddress().ToString(), ServiceAddress().ToString());
}

} // namespace pagewing::sim
