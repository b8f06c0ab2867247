#pragma once

#include "session/SMSSenderEvents.h"

#include <cstdint>
#include <optional>
#include <string>

// What the servers' error codes mean, as the status lines that tell the user.
namespace pagewing::ServerCodes {

// The code as the lines show it: "0x" and at least four upper-case hex digits.
std::u16string HexCode(std::uint32_t code);

// The authorization server refused the login with this code (none when TLV 8 held no readable number) and
// perhaps its own words: the line names both, and says whether trying again can help.
SessionEnd LoginRefusal(std::optional<std::uint32_t> code, const std::u16string& serverText);

// The service server logged the session off with a channel-4 frame.
SessionEnd LogOff(std::optional<std::uint32_t> code, const std::u16string& serverText);

} // namespace pagewing::ServerCodes
