#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace pagewing::sim {

// The login packet carries the password XORed with a fixed table. XOR is its own inverse, so the one
// operation both scrambles and unscrambles.
class PasswordScrambler {
public:
    static constexpr qsizetype MaximumLength = 16;

    // Empty for a password longer than the table, which no client can have sent.
    static std::optional<QByteArray> Apply(QByteArrayView password);
};

} // namespace pagewing::sim
