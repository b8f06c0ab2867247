#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Readable failure output for gtest.
inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '[' << bytes.toHex(' ').toStdString() << ']';
}

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace pagewing::sim::test {

// The tests write client packets byte by byte, not with the simulator's own writer, so that a fault in its
// wire code cannot cancel out.
inline QByteArray Be16(const qsizetype value) {
    return QByteArray::fromHex(QByteArray::number(value, 16).rightJustified(4, '0'));
}

inline QByteArray Le16(const qsizetype value) {
    return Be16(value).right(1) + Be16(value).left(1);
}

inline QByteArray Tlv(const quint16 type, const QByteArray& value) {
    return Be16(type) + Be16(value.size()) + value;
}

} // namespace pagewing::sim::test
