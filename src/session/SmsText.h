#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text of an SMS as Pagewing composes it, from the window and from the command line alike: the sender
// name, ":", a line break and the message, with name and message sharing one allowance.
namespace pagewing::SmsText {

inline constexpr int Allowance = 140;
inline constexpr int SenderNameLength = 20;

// The characters counted against the allowance: a line break counts as the two (CR LF) it is sent as.
int CountedLength(std::u16string_view text);

// The sender name, ":", CR LF and the message, every line break of the message as CR LF.
std::u16string Compose(std::u16string_view sender, std::u16string_view message);

// Why the name and message cannot be sent as they are, or none when they can.
std::optional<std::u16string> Problem(std::u16string_view sender, std::u16string_view message);

} // namespace pagewing::SmsText
