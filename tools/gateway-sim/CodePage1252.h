#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace pagewing::sim {

// Windows-1252, the byte encoding of passwords and SMS documents on the wire. Written out here rather than
// taken from QStringConverter, whose support for it depends on how Qt was built.
class CodePage1252 {
public:
    // Empty when a character has no byte in the code page.
    static std::optional<QByteArray> Encode(QStringView text);
    static QString Decode(QByteArrayView bytes);
};

} // namespace pagewing::sim
