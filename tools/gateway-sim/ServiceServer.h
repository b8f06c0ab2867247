#pragma once

#include "gateway-sim/DeliveryPolicy.h"
#include "gateway-sim/FlapServer.h"
#include "gateway-sim/Options.h"

#include <QByteArray>

namespace pagewing::sim {

class CookieRegistry;
struct Snac;

// The server a client reaches with its cookie: it lists the SNAC families it serves and plays the SMS
// gateway behind family 0x0015. Every other SNAC is ignored.
class ServiceServer final : public FlapServer {
    Q_OBJECT

public:
    ServiceServer(const Options& options, CookieRegistry& cookies, Reporter& log);

protected:
    void HandleFrame(ClientConnection& connection, const FlapFrame& frame) override;

private:
    void HandleCookie(ClientConnection& connection, const QByteArray& payload);
    void HandleSmsRequest(ClientConnection& connection, const Snac& request);

    CookieRegistry& Cookies;
    const DeliveryPolicy Delivery;
    quint32 MessageCount = 0;
};

} // namespace pagewing::sim
