#pragma once

#include <cstddef>
#include <cstdint>

// The numbers of the OSCAR protocol that the client reads and writes, each under one name. The builders keep
// their requests as the documented hex texts; these are for taking frames apart and judging them.
namespace pagewing::Oscar {

// FLAP: 0x2A, channel, 2-byte sequence number, 2-byte payload length, then the payload.
inline constexpr std::uint8_t FrameStart = 0x2A;
inline constexpr std::size_t FlapHeaderSize = 6;
// The longest payload a server sends. Its largest SNACs relay a message, and a message SNAC is capped at
// 8000 bytes (the ICBM parameters' range ends there); anything longer, a contact list or a batch of offline
// messages, the server cuts into several SNACs. The 16-bit field could say 65535: a length beyond this
// comes from garbage, not from a server.
inline constexpr std::size_t LongestServerPayload = 8192;
// Sequence numbers count up by one per frame on each connection; some servers wrap to 0 after 0x7FFF.
inline constexpr std::uint16_t SequenceHalfway = 0x8000;

enum Channel : std::int32_t {
    LoginChannel = 1,
    SnacChannel = 2,
    CloseChannel = 4,
    KeepAliveChannel = 5,
};

// SNAC: family, subtype, flags, 4-byte request id, then the body.
inline constexpr std::size_t SnacHeaderSize = 10;
// Set in the SNAC flags when a length-prefixed block of TLVs comes before the body.
inline constexpr std::uint16_t OptionalDataFlag = 0x8000;

struct Snac {
    std::int32_t Family;
    std::int32_t Subtype;
};

// The service server lists its families and so opens the session; the client answers with client ready.
inline constexpr Snac ServerReady{0x0001, 0x0003};
// The ICQ extensions family: an SMS request goes out as a meta request, its answer comes back as SNAC 15,03,
// or as the family's error SNAC 15,01 when the server will not take the request at all.
inline constexpr Snac MetaResponse{0x0015, 0x0003};
inline constexpr Snac MetaError{0x0015, 0x0001};

// TLVs of the authorization reply. A refusal carries its code in TLV 8 and may describe it in TLV 4, where
// some servers put a web address and others their own words.
inline constexpr std::int32_t ErrorDescriptionTlv = 0x0004;
inline constexpr std::int32_t ServiceAddressTlv = 0x0005;
inline constexpr std::int32_t CookieTlv = 0x0006;
inline constexpr std::int32_t ErrorCodeTlv = 0x0008;
// The login refusal of a client version the server no longer takes: no setting of the user's mends it.
inline constexpr std::uint16_t OldClientCode = 0x001B;

// TLVs of the channel-4 frame that logs a session off the service server: why, as a code and as text.
inline constexpr std::int32_t LogOffCodeTlv = 0x0009;
inline constexpr std::int32_t LogOffTextTlv = 0x000B;
// The same account logged in elsewhere.
inline constexpr std::uint16_t AnotherLoginCode = 0x0001;

// The ICQ meta data in TLV 1 of a SNAC 15,02 or 15,03.
inline constexpr std::int32_t MetaDataTlv = 0x0001;
inline constexpr std::uint16_t MetaReplyType = 0x07DA;
inline constexpr std::uint8_t MetaSuccess = 0x0A;

} // namespace pagewing::Oscar
