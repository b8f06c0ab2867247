#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>

namespace pagewing::sim {

// The documents the SMS gateway exchanges are one root element holding only simple elements with text:
// <root><name>text</name>...</root>. This reads exactly that shape, keeping every character of the
// text as sent (an XML library would fold the "\r\n" of a message into "\n"). Anything else is refused:
// attributes, nesting, comments, text beside the fields, a field given twice.
class FlatXmlDocument {
public:
    static std::optional<FlatXmlDocument> Parse(QStringView document, QStringView rootName);

    std::optional<QString> Field(const QString& name) const;

private:
    QHash<QString, QString> Fields;
};

} // namespace pagewing::sim
