#include "ui/TelephoneList.h"

namespace pagewing::TelephoneList {

QStringList Entries(const QString& stored) {
    return stored.split(u',', Qt::SkipEmptyParts);
}

std::optional<QString> WithEntry(const QString& stored, const QString& entry) {
    auto storable = entry;
    storable.replace(u',', u' ');
    if (storable.trimmed().isEmpty() || Entries(stored).contains(storable, Qt::CaseSensitive)) {
        return std::nullopt;
    }
    return stored.isEmpty() ? storable : stored + u',' + storable;
}

QString DestinationNumber(const QString& text) {
    return text.split(u' ').constLast();
}

} // namespace pagewing::TelephoneList
