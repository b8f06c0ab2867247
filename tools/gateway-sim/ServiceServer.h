#pragma once

#include "gateway-sim/DeliveryPolicy.h"
#include "gateway-sim/FlapServer.h"
#include "gateway-sim/Options.h"

#include <QByteArray>

namespace pagewing::sim {

class CookieRegistry;
struct Snac;

// The server a client reaches with its cookie: it lists the SNAC families it serves and plays the SMS
// gateway behind family 0x0015. Every other SNAC is ignored. The options make it misbehave as real servers
// do: never say it is ready, flood the client with reports nobody asked for, hang up once it is ready, or
// log the session off as for another login of the account.
class ServiceServer final : public FlapServer {
    Q_OBJECT

public:
    ServiceServer(const Options& options, CookieRegistry& cookies, Reporter& log);

protected:
    void HandleFrame(ClientConnection& connection, const FlapFrame& frame) override;

private:
    void HandleCookie(ClientConnection& connection, const QByteArray& payload);
    void HandleClientReady(ClientConnection& connection);
    void LogOffForAnotherLogin(ClientConnection& connection);
    void HandleSmsRequest(ClientConnection& connection, const Snac& request);
    void SendAnswer(ClientConnection& connection, DeliveryPolicy::Answer answer, const Snac& request,
                    quint16 metaSequence);
    Snac UnaskedReport(const ClientConnection& connection);

    CookieRegistry& Cookies;
    const DeliveryPolicy Delivery;
    const bool Stall;
    const bool CloseAfterReady;
    const bool DropAfterRequest;
    const bool AnotherLogin;
    const quint32 Flood;
    quint32 MessageCount = 0;
};

} // namespace pagewing::sim
