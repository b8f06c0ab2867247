#pragma once

#include "support/HexBytes.h"

#include <cstdint>
#include <string_view>
#include <vector>

// Frames as the authorization and service servers send them, written out by hand.
namespace pagewing::test::ServerFrames {

inline std::vector<std::uint8_t> Frame(std::uint8_t channel, const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> frame{0x2A,
                                    channel,
                                    0x4E,
                                    0x21,
                                    static_cast<std::uint8_t>(payload.size() >> 8),
                                    static_cast<std::uint8_t>(payload.size())};
    frame.insert(frame.end(), payload.begin(), payload.end());
    return frame;
}

inline std::vector<std::uint8_t> Hello() {
    return Bytes("2A01 3039 0004 00000001");
}

inline std::vector<std::uint8_t> Tlv(std::uint16_t type, const std::vector<std::uint8_t>& value) {
    return Concat({{static_cast<std::uint8_t>(type >> 8), static_cast<std::uint8_t>(type),
                    static_cast<std::uint8_t>(value.size() >> 8), static_cast<std::uint8_t>(value.size())},
                   value});
}

inline std::vector<std::uint8_t> AuthorizationReply(std::initializer_list<std::vector<std::uint8_t>> tlvs) {
    return Frame(4, Concat(tlvs));
}

inline std::vector<std::uint8_t> CookieReply(std::string_view address,
                                             const std::vector<std::uint8_t>& cookie) {
    return AuthorizationReply({Tlv(1, AsciiBytes("100200300")), Tlv(5, AsciiBytes(address)), Tlv(6, cookie)});
}

inline std::vector<std::uint8_t> ErrorReply(std::string_view code) {
    return AuthorizationReply({Tlv(1, AsciiBytes("100200300")),
                               Tlv(4, AsciiBytes("https://example.invalid/e")), Tlv(8, Bytes(code))});
}

inline std::vector<std::uint8_t> Snac(std::uint16_t family, std::uint16_t subtype,
                                      const std::vector<std::uint8_t>& body) {
    return Frame(2, Concat({{static_cast<std::uint8_t>(family >> 8), static_cast<std::uint8_t>(family),
                             static_cast<std::uint8_t>(subtype >> 8), static_cast<std::uint8_t>(subtype), 0,
                             0, 0, 0, 0, 0},
                            body}));
}

inline std::vector<std::uint8_t> ServiceFamilies() {
    return Snac(0x01, 0x03, Bytes("0001 0002 0003 0004 0009 0013 0015"));
}

// A meta reply in TLV 1 of a SNAC 15,03 for account 100200300: the little-endian fields after the owner
// (meta type, sequence, subtype, result, in hex) and the data after them; the chunk size is worked out.
inline std::vector<std::uint8_t> MetaReply(std::string_view fields, const std::vector<std::uint8_t>& data) {
    const auto chunk = Concat({Bytes("ACE5F805"), Bytes(fields), data});
    return Snac(0x15, 0x03,
                Tlv(1, Concat({{static_cast<std::uint8_t>(chunk.size()),
                                static_cast<std::uint8_t>(chunk.size() >> 8)},
                               chunk})));
}

inline std::vector<std::uint8_t> SmsReply(std::string_view xml) {
    return Snac(0x15, 0x03, Tlv(1, Concat({Bytes("0E00 ACE5F805 DA07 0100 9600 0A"), AsciiBytes(xml)})));
}

} // namespace pagewing::test::ServerFrames

namespace pagewing::test::ClientFrames {

// The TLVs of a login or cookie packet, which follow the 4-byte FLAP version after the header.
inline std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>>
Tlvs(const std::vector<std::uint8_t>& frame) {
    std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> tlvs;
    for (std::size_t at = 10; at + 4 <= frame.size();) {
        const auto type = static_cast<std::uint16_t>(frame[at] << 8 | frame[at + 1]);
        const auto length = static_cast<std::size_t>(frame[at + 2] << 8 | frame[at + 3]);
        tlvs.emplace_back(
            type, std::vector<std::uint8_t>(frame.begin() + static_cast<std::ptrdiff_t>(at + 4),
                                            frame.begin() + static_cast<std::ptrdiff_t>(at + 4 + length)));
        at += 4 + length;
    }
    return tlvs;
}

inline std::vector<std::uint8_t> Tlv(const std::vector<std::uint8_t>& frame, std::uint16_t type) {
    for (const auto& [id, value] : Tlvs(frame)) {
        if (id == type) {
            return value;
        }
    }
    return {};
}

} // namespace pagewing::test::ClientFrames
