#pragma once

#include "support/HexBytes.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

// Frames as the authorization and service servers send them, written out by hand.
namespace pagewing::test::ServerFrames {

inline std::vector<std::uint8_t> Be16(std::size_t value) {
    return {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

inline std::vector<std::uint8_t> Frame(std::uint8_t channel, const std::vector<std::uint8_t>& payload) {
    return Concat({{0x2A, channel, 0x4E, 0x21}, Be16(payload.size()), payload});
}

inline std::vector<std::uint8_t> Hello() {
    return Bytes("2A01 3039 0004 00000001");
}

inline std::vector<std::uint8_t> Tlv(std::uint16_t type, const std::vector<std::uint8_t>& value) {
    return Concat({Be16(type), Be16(value.size()), value});
}

inline std::vector<std::uint8_t> AuthorizationReply(std::initializer_list<std::vector<std::uint8_t>> tlvs) {
    return Frame(4, Concat(tlvs));
}

inline std::vector<std::uint8_t> CookieReply(std::string_view address,
                                             const std::vector<std::uint8_t>& cookie) {
    return AuthorizationReply({Tlv(1, AsciiBytes("100200300")), Tlv(5, AsciiBytes(address)), Tlv(6, cookie)});
}

// The error code first: the reader's first entry has index 0, which a lookup must not take for "none".
inline std::vector<std::uint8_t> ErrorReply(std::string_view code) {
    return AuthorizationReply(
        {Tlv(8, Bytes(code)), Tlv(1, AsciiBytes("100200300")), Tlv(4, AsciiBytes("Login failed"))});
}

inline std::vector<std::uint8_t> Snac(std::uint16_t family, std::uint16_t subtype,
                                      const std::vector<std::uint8_t>& body) {
    return Frame(2, Concat({Be16(family), Be16(subtype), Bytes("0000 00000000"), body}));
}

inline std::vector<std::uint8_t> ServiceFamilies() {
    return Snac(0x01, 0x03, Bytes("0001 0002 0003 0004 0009 0013 0015"));
}

// A meta reply in TLV 1 of a SNAC 15,03 for account 100200300: the little-endian fields after the owner
// (meta type, sequence, subtype, result, in hex) and the data after them; the chunk size is worked out.
inline std::vector<std::uint8_t> MetaReply(std::string_view fields, const std::vector<std::uint8_t>& data) {
    const auto chunk = Concat({Bytes("6CEFF805"), Bytes(fields), data});
    const auto size = Be16(chunk.size());
    return Snac(0x15, 0x03, Tlv(1, Concat({{size[1], size[0]}, chunk})));
}

// The gateway's answer to the SMS request with this meta sequence number (the first on a connection carries
// 1): a successful meta reply that carries its XML.
inline std::vector<std::uint8_t> SmsReply(std::string_view xml, std::uint8_t sequence = 1) {
    std::array<char, 20> fields{};
    std::snprintf(fields.data(), fields.size(), "DA07 %02X00 9600 0A", sequence);
    return MetaReply(fields.data(), AsciiBytes(xml));
}

// The service server logs the session off: TLV 9 holds why as a code, TLV 0x0B as text.
inline std::vector<std::uint8_t> LogOff(std::string_view code, std::string_view text) {
    return Frame(4, Concat({Tlv(9, Bytes(code)), Tlv(0x0B, AsciiBytes(text))}));
}

} // namespace pagewing::test::ServerFrames
