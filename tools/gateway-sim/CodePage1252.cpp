#include "gateway-sim/CodePage1252.h"

#include <array>
#include <cstddef>

namespace pagewing::sim {

namespace {

// Bytes 0x80 to 0x9F. The five bytes the code page leaves unassigned decode to the C1 control of the same
// value, as Windows does, so every byte sequence decodes to something printable in the log.
constexpr std::array<char16_t, 32> HighRange{
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

constexpr char16_t HighRangeStart = 0x80;
constexpr char16_t HighRangeEnd = 0x9F;

} // namespace

std::optional<QByteArray> CodePage1252::Encode(const QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        if (code <= 0xFF && (code < HighRangeStart || code > HighRangeEnd)) {
            bytes.append(static_cast<char>(code));
            continue;
        }
        std::size_t index = 0;
        while (index < HighRange.size() && HighRange[index] != code) {
            ++index;
        }
        if (index == HighRange.size()) {
            return std::nullopt;
        }
        bytes.append(static_cast<char>(HighRangeStart + index));
    }
    return bytes;
}

QString CodePage1252::Decode(const QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<char16_t>(static_cast<quint8>(byte));
        const bool high = code >= HighRangeStart && code <= HighRangeEnd;
        text.append(QChar(high ? HighRange[static_cast<std::size_t>(code - HighRangeStart)] : code));
    }
    return text;
}

} // namespace pagewing::sim
