#pragma once

#include <QByteArray>
#include <QMap>

#include <array>
#include <initializer_list>
#include <optional>
#include <ostream>

// Readable failure output for gtest.
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '[' << bytes.toHex(' ').toStdString() << ']';
}

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace pagewing::sim::test {

// Client-side packets written out byte by byte here, independently of the simulator's own writer, so a
// fault in its wire code cannot cancel out in the tests.

inline QByteArray Hex(const char* hex) {
    return QByteArray::fromHex(hex);
}

// Not QByteArray{a, b}: that is QByteArray(size, fill).
inline QByteArray Bytes(const std::initializer_list<quint8> values) {
    QByteArray bytes;
    for (const auto value : values) {
        bytes.append(static_cast<char>(value));
    }
    return bytes;
}

inline QByteArray Be16(const quint16 value) {
    return Bytes({static_cast<quint8>(value >> 8), static_cast<quint8>(value & 0xFF)});
}

inline QByteArray Le16(const quint16 value) {
    return Bytes({static_cast<quint8>(value & 0xFF), static_cast<quint8>(value >> 8)});
}

inline QByteArray Le32(const quint32 value) {
    return Le16(static_cast<quint16>(value & 0xFFFF)) + Le16(static_cast<quint16>(value >> 16));
}

inline QByteArray Tlv(const quint16 type, const QByteArray& value) {
    return Be16(type) + Be16(static_cast<quint16>(value.size())) + value;
}

inline QByteArray Frame(const quint8 channel, const quint16 sequence, const QByteArray& payload) {
    return Bytes({0x2A, channel}) + Be16(sequence) + Be16(static_cast<quint16>(payload.size())) + payload;
}

inline QByteArray SnacPayload(const quint16 family, const quint16 subtype, const quint32 requestId,
                              const QByteArray& body) {
    return Be16(family) + Be16(subtype) + Hex("0000") + Be16(static_cast<quint16>(requestId >> 16)) +
           Be16(static_cast<quint16>(requestId & 0xFFFF)) + body;
}

inline QByteArray Scramble(const QByteArray& password) {
    static constexpr std::array<quint8, 16> Table{0xF3, 0x26, 0x81, 0xC4, 0x39, 0x86, 0xDB, 0x92,
                                                  0x71, 0xA3, 0xB9, 0xE6, 0x53, 0x7A, 0x95, 0x7C};
    QByteArray scrambled = password;
    for (qsizetype i = 0; i < scrambled.size(); ++i) {
        scrambled[i] =
            static_cast<char>(static_cast<quint8>(scrambled[i]) ^ Table[static_cast<std::size_t>(i)]);
    }
    return scrambled;
}

// The TLVs a real client sends, the ones the server ignores included.
inline QByteArray LoginPayload(const QByteArray& uin, const QByteArray& password) {
    return Hex("00000001") + Tlv(0x0001, uin) + Tlv(0x0002, Scramble(password)) +
           Tlv(0x0003, "Pagewing test") + Tlv(0x0016, Hex("010A")) + Tlv(0x0017, Hex("0005")) +
           Tlv(0x0018, Hex("000F")) + Tlv(0x0019, Hex("0001")) + Tlv(0x001A, Hex("0032")) +
           Tlv(0x0014, Hex("00000055")) + Tlv(0x000F, "en") + Tlv(0x000E, "us");
}

inline QByteArray CookiePayload(const QByteArray& cookie) {
    return Hex("00000001") + Tlv(0x0006, cookie);
}

inline QByteArray SmsDocument(const QByteArray& destination, const QByteArray& text) {
    return "<icq_sms_message><destination>" + destination + "</destination><text>" + text +
           "</text><codepage>1252</codepage><senders_UIN>100200300</senders_UIN><senders_name>Ann</"
           "senders_name>"
           "<delivery_receipt>Yes</delivery_receipt><time>24 Sep 2005 00:36:21 GMT</time></icq_sms_message>";
}

// Offsets into SmsMetaBlock, for tests that spoil one field.
struct SmsMetaOffset {
    static constexpr qsizetype Size = 0;
    static constexpr qsizetype Type = 6;
    static constexpr qsizetype Subtype = 10;
    static constexpr qsizetype FixedBlock = 12;
    static constexpr qsizetype XmlLength = 34;
    static constexpr qsizetype Xml = 36;
};

inline QByteArray SmsMetaBlock(const quint32 senderUin, const quint16 metaSequence, const QByteArray& xml) {
    const QByteArray fields = Le32(senderUin) + Hex("D007") + Le16(metaSequence) + Hex("8214") +
                              Hex("00010016") + QByteArray(18, '\0') +
                              Be16(static_cast<quint16>(xml.size())) + xml;
    return Le16(static_cast<quint16>(fields.size())) + fields;
}

inline QByteArray SmsRequestBody(const quint32 senderUin, const quint16 metaSequence, const QByteArray& xml) {
    return Tlv(0x0001, SmsMetaBlock(senderUin, metaSequence, xml));
}

// The TLVs of a server packet by type; empty when they do not parse.
inline std::optional<QMap<quint16, QByteArray>> ReadTlvs(const QByteArray& bytes) {
    QMap<quint16, QByteArray> tlvs;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (at + 4 > bytes.size()) {
            return std::nullopt;
        }
        const auto type =
            static_cast<quint16>(static_cast<quint8>(bytes[at]) << 8 | static_cast<quint8>(bytes[at + 1]));
        const auto length = static_cast<quint8>(bytes[at + 2]) << 8 | static_cast<quint8>(bytes[at + 3]);
        if (at + 4 + length > bytes.size()) {
            return std::nullopt;
        }
        tlvs.insert(type, bytes.mid(at + 4, length));
        at += 4 + length;
    }
    return tlvs;
}

} // namespace pagewing::sim::test
