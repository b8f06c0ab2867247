#pragma once

#include "oscar/FlapFrameBuilder.h"

#include <cstdint>
#include <span>
#include <string>

namespace pagewing {

// Builds the two packets sent on FLAP channel 1: the login packet for the authorization server and the
// cookie packet that presents the authorization cookie to the service server.
//
// A build that fails (a character without a Windows-1252 code, a password over 16 characters, an empty
// cookie, a text too long for its 16-bit length) throws and leaves an unfinished packet that must not be
// sent.
class Channel1 : public FlapFrameBuilder {
public:
    // The client identification that the login packet carries in TLV 3.
    static constexpr std::u16string_view ClientIdentification =
        u"ICQ Inc. - Product of ICQ (TM).2001b.5.15.1.3634.85";

    void LogInToICQString(const std::u16string& UIN, const std::u16string& Password);
    void SendCookieToICQString(std::span<const std::uint8_t> Cookie);

private:
    void AppendFlapVersion();
};

} // namespace pagewing
