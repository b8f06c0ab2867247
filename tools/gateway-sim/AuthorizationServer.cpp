#include "gateway-sim/AuthorizationServer.h"

#include "gateway-sim/ClientConnection.h"
#include "gateway-sim/CookieRegistry.h"
#include "gateway-sim/PasswordScrambler.h"
#include "gateway-sim/Reporter.h"
#include "gateway-sim/TlvList.h"
#include "gateway-sim/WireReader.h"
#include "gateway-sim/WireWriter.h"

namespace pagewing::sim {

namespace {

constexpr quint16 UinTlv = 0x0001;
constexpr quint16 PasswordTlv = 0x0002;
constexpr quint16 ErrorAddressTlv = 0x0004;
constexpr quint16 ServiceAddressTlv = 0x0005;
constexpr quint16 ErrorCodeTlv = 0x0008;

QString ErrorCodeText(const quint16 code) {
    return QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
}

bool IsUnspecified(const QHostAddress& address) {
    return address == QHostAddress(QHostAddress::Any) || address == QHostAddress(QHostAddress::AnyIPv4) ||
           address == QHostAddress(QHostAddress::AnyIPv6);
}

} // namespace

AuthorizationServer::AuthorizationServer(const Options& options, CookieRegistry& cookies,
                                         const FlapServer& service, Reporter& log)
    : FlapServer(QStringLiteral("auth"), options.Fragment, !options.StallLogin, log)
    , ForcedError(options.AuthorizationError)
    , ForcedErrorText(options.AuthorizationErrorText)
    , Stall(options.StallLogin)
    , KeepOpen(options.KeepLoginOpen)
    , Cookies(cookies)
    , Service(service) {
    for (const auto& account : options.Accounts) {
        Accounts.insert(QByteArray::number(account.Uin), account);
    }
}

void AuthorizationServer::HandleFrame(ClientConnection& connection, const FlapFrame& frame) {
    // Keep-alives and stray SNACs before the login need no answer; a stalled server answers nothing.
    if (frame.Channel == FlapFrame::LoginChannel && !Stall) {
        HandleLogin(connection, frame.Payload);
    }
}

void AuthorizationServer::HandleLogin(ClientConnection& connection, const QByteArray& payload) {
    WireReader reader(payload);
    const auto version = reader.ReadUInt32();
    const auto tlvs = TlvList::Parse(reader.ReadRest());
    const auto uinText = tlvs ? tlvs->Find(UinTlv) : std::nullopt;
    if (!reader.Ok() || version != 1 || !uinText) {
        // Without a UIN there is nothing to put in TLV 1 of an answer.
        Log.Note(QStringLiteral("%1: closing without an answer: the login packet is not FLAP version 1 "
                                "followed by well-formed TLVs including the UIN (TLV 0x0001)")
                     .arg(connection.Name()));
        connection.Close();
        return;
    }
    const auto error = ForcedError ? ForcedError : CheckCredentials(*uinText, tlvs->Find(PasswordTlv));
    WireWriter reply;
    reply.AppendTlv(UinTlv, *uinText);
    if (error) {
        reply
            .AppendTlv(ErrorAddressTlv,
                       ForcedErrorText.value_or(QStringLiteral("https://pagewing.invalid/login-error?code=%1")
                                                    .arg(ErrorCodeText(*error))
                                                    .toLatin1()))
            .AppendUInt16Tlv(ErrorCodeTlv, *error);
        Log.Trace(
            QStringLiteral("%1: login refused with error %2").arg(connection.Name(), ErrorCodeText(*error)));
    } else {
        const auto& account = Accounts[*uinText];
        reply.AppendTlv(ServiceAddressTlv, ServiceAddressFor(connection).toLatin1())
            .AppendTlv(CookieRegistry::CookieTlv, Cookies.Issue(account.Uin));
        Log.Trace(QStringLiteral("%1: login of %2 accepted").arg(connection.Name()).arg(account.Uin));
    }
    connection.Send(FlapFrame::CloseChannel, reply.Bytes());
    if (error || !KeepOpen) {
        connection.Close();
    } else {
        LeaveOpen(connection);
    }
}

void AuthorizationServer::LeaveOpen(ClientConnection& connection) {
    Log.Trace(QStringLiteral("%1: leaving the connection for the client to close").arg(connection.Name()));
    // Not only with --verbose: a test tells from this line that the client, not the server, closed it.
    connect(&connection, &ClientConnection::ClosedByClient, this, [this, name = connection.Name()] {
        Log.Note(QStringLiteral("%1: the client closed the connection").arg(name));
    });
}

std::optional<quint16>
AuthorizationServer::CheckCredentials(const QByteArray& uinText,
                                      const std::optional<QByteArray>& scrambledPassword) const {
    const auto account = Accounts.constFind(uinText);
    if (account == Accounts.constEnd()) {
        return UnknownUin;
    }
    const auto password = scrambledPassword ? PasswordScrambler::Apply(*scrambledPassword) : std::nullopt;
    if (!password || *password != account->Password) {
        return WrongPassword;
    }
    return std::nullopt;
}

QString AuthorizationServer::ServiceAddressFor(const ClientConnection& connection) const {
    auto address = Service.Address();
    // A service server on every interface is reachable at whatever address this client reached us on.
    if (IsUnspecified(address.Host)) {
        address.Host = connection.LocalAddress();
    }
    // A dual-stack socket reports an IPv4 address as ::ffff:a.b.c.d, which IPv4-only clients cannot use.
    bool isIpv4 = false;
    const auto ipv4 = address.Host.toIPv4Address(&isIpv4);
    if (isIpv4) {
        address.Host = QHostAddress(ipv4);
    }
    return address.ToString();
}

} // namespace pagewing::sim
