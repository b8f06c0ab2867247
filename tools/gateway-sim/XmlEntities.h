#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace pagewing::sim {

class XmlEntities {
public:
    // Replaces the five predefined entities and decimal or hexadecimal character references. Empty for
    // text no XML reader would accept: an '&' that starts no known reference, or a reference to a
    // character XML does not allow.
    static std::optional<QString> Unescape(QStringView text);
};

} // namespace pagewing::sim
