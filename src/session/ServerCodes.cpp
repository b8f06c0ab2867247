#include "session/ServerCodes.h"

#include "oscar/OscarProtocol.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace pagewing::ServerCodes {

namespace {

// The authorization server's error codes as TLV 8 carries them, and whether trying again can help.
struct AuthorizationError {
    std::uint32_t Code;
    std::u16string_view Message;
    SessionFailure Kind;
};

constexpr auto Lost = SessionFailure::ConnectionLost;
constexpr auto Refused = SessionFailure::AccountRefused;
constexpr auto TooSoon = SessionFailure::RateLimited;

constexpr std::array<AuthorizationError, 12> AuthorizationErrors = {{
    {0x0001, u"Multiple logins on same UIN", Lost},
    {0x0004, u"Bad password", Refused},
    {0x0005, u"Bad password", Refused},
    {0x0007, u"Non existant ICQ#", Refused},
    {0x0008, u"Non existant ICQ#", Refused},
    {0x0011, u"Account suspended", Refused},
    {0x0015, u"Too many clients from the same IP", TooSoon},
    {0x0016, u"Too many clients from the same IP", TooSoon},
    {0x0018, u"Connecting and disconnecting too quickly with the same login", TooSoon},
    {Oscar::OldClientCode, u"Old version of ICQ, need to upgrade", Refused},
    {0x001D, u"Probably you are disconnected too fast", TooSoon},
    {0x001E, u"Can't register on ICQ network, try again soon", Lost},
}};

// The line's cause, then the code and the server's words where there are any.
std::u16string Line(std::u16string_view cause, std::optional<std::uint32_t> code,
                    const std::u16string& serverText) {
    auto line = std::u16string(cause);
    if (code) {
        line += u" (code " + HexCode(*code) + u")";
    }
    return serverText.empty() ? line : line + u": " + serverText;
}

} // namespace

std::u16string HexCode(std::uint32_t code) {
    constexpr std::u16string_view HexDigits = u"0123456789ABCDEF";
    std::u16string digits;
    for (; code != 0 || digits.size() < 4; code >>= 4) {
        digits.insert(digits.begin(), HexDigits[code & 0x0F]);
    }
    return u"0x" + digits;
}

SessionEnd LoginRefusal(std::optional<std::uint32_t> code, const std::u16string& serverText) {
    const auto known = std::find_if(AuthorizationErrors.begin(), AuthorizationErrors.end(),
                                    [&](const auto& error) { return code == error.Code; });
    // A code we do not know may be the server's passing trouble: it is shown, and the login tried again.
    if (known == AuthorizationErrors.end()) {
        return {Lost, Line(u"The server refused the login", code, serverText),
                static_cast<int>(code.value_or(0)), serverText};
    }
    return {known->Kind, Line(known->Message, code, serverText), static_cast<int>(known->Code), serverText};
}

SessionEnd LogOff(std::optional<std::uint32_t> code, const std::u16string& serverText) {
    const auto value = static_cast<int>(code.value_or(0));
    if (code == Oscar::AnotherLoginCode) {
        return {SessionFailure::AnotherLogin, u"Logged off by the server: another login with this account",
                value, serverText};
    }
    return {Lost, Line(u"Logged off by the server", code, serverText), value, serverText};
}

} // namespace pagewing::ServerCodes
