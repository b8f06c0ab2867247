#include "gateway-sim/PasswordScrambler.h"

#include <array>
#include <cstddef>

namespace pagewing::sim {

namespace {

constexpr std::array<quint8, PasswordScrambler::MaximumLength> Table{
    0xF3, 0x26, 0x81, 0xC4, 0x39, 0x86, 0xDB, 0x92, 0x71, 0xA3, 0xB9, 0xE6, 0x53, 0x7A, 0x95, 0x7C};

} // namespace

std::optional<QByteArray> PasswordScrambler::Apply(const QByteArrayView password) {
    if (password.size() > MaximumLength) {
        return std::nullopt;
    }
    QByteArray result(password.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < password.size(); ++i) {
        result[i] = static_cast<char>(static_cast<quint8>(password[i]) ^ Table[static_cast<std::size_t>(i)]);
    }
    return result;
}

} // namespace pagewing::sim
