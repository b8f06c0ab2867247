#pragma once

#include "gateway-sim/FlapServer.h"
#include "gateway-sim/Options.h"

#include <QByteArray>
#include <QHash>

#include <optional>

namespace pagewing::sim {

class CookieRegistry;

// Checks logins and sends accepted clients on to the service server with a one-time cookie. Every
// connection gets exactly one answer and is then closed, as most real authorization servers do; with
// --keep-login-open a successful one is left for the client to close, as others do, and with --stall-login
// nothing is ever sent.
class AuthorizationServer final : public FlapServer {
    Q_OBJECT

public:
    static constexpr quint16 WrongPassword = 0x0004;
    static constexpr quint16 UnknownUin = 0x0007;

    AuthorizationServer(const Options& options, CookieRegistry& cookies, const FlapServer& service,
                        Reporter& log);

protected:
    void HandleFrame(ClientConnection& connection, const FlapFrame& frame) override;

private:
    void HandleLogin(ClientConnection& connection, const QByteArray& payload);
    // The error code for a refused login, or empty when the credentials match an account.
    std::optional<quint16> CheckCredentials(const QByteArray& uinText,
                                            const std::optional<QByteArray>& scrambledPassword) const;
    QString ServiceAddressFor(const ClientConnection& connection) const;
    void LeaveOpen(ClientConnection& connection);

    // Keyed by the UIN as decimal text, the form it takes in the login packet.
    QHash<QByteArray, Options::Account> Accounts;
    const std::optional<quint16> ForcedError;
    const std::optional<QByteArray> ForcedErrorText;
    const bool Stall;
    const bool KeepOpen;
    CookieRegistry& Cookies;
    const FlapServer& Service;
};

} // namespace pagewing::sim
