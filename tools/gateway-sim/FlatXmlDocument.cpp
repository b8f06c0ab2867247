#include "gateway-sim/FlatXmlDocument.h"

#include "gateway-sim/XmlEntities.h"

namespace pagewing::sim {

namespace {

bool IsNameStart(const char16_t character) {
    return (character >= u'a' && character <= u'z') || (character >= u'A' && character <= u'Z') ||
           character == u'_';
}

bool IsNameCharacter(const char16_t character) {
    return IsNameStart(character) || (character >= u'0' && character <= u'9') || character == u'-' ||
           character == u'.';
}

class Cursor {
public:
    explicit Cursor(const QStringView text)
        : Text(text) {}

    bool AtEnd() const { return Position == Text.size(); }

    void SkipSpace() {
        while (!AtEnd() && (Text[Position] == u' ' || Text[Position] == u'\t' || Text[Position] == u'\r' ||
                            Text[Position] == u'\n')) {
            ++Position;
        }
    }

    bool Take(const QStringView literal) {
        if (!Text.sliced(Position).startsWith(literal)) {
            return false;
        }
        Position += literal.size();
        return true;
    }

    bool SkipPast(const QStringView literal) {
        const auto found = Text.indexOf(literal, Position);
        if (found < 0) {
            return false;
        }
        Position = found + literal.size();
        return true;
    }

    QStringView TakeName() {
        const auto start = Position;
        if (!AtEnd() && IsNameStart(Text[Position].unicode())) {
            ++Position;
            while (!AtEnd() && IsNameCharacter(Text[Position].unicode())) {
                ++Position;
            }
        }
        return Text.sliced(start, Position - start);
    }

    // The text up to the stop character, which stays unread.
    std::optional<QStringView> TakeTextBefore(const QChar stop) {
        const auto found = Text.indexOf(stop, Position);
        if (found < 0) {
            return std::nullopt;
        }
        const auto text = Text.sliced(Position, found - Position);
        Position = found;
        return text;
    }

private:
    QStringView Text;
    qsizetype Position = 0;
};

bool TakeEndTag(Cursor& in, const QStringView name) {
    if (!in.Take(u"</") || in.TakeName() != name) {
        return false;
    }
    in.SkipSpace();
    return in.Take(u">");
}

} // namespace

std::optional<FlatXmlDocument> FlatXmlDocument::Parse(const QStringView document,
                                                      const QStringView rootName) {
    Cursor in(document);
    in.SkipSpace();
    if (in.Take(u"<?xml")) {
        if (!in.SkipPast(u"?>")) {
            return std::nullopt;
        }
        in.SkipSpace();
    }
    if (!in.Take(u"<") || in.TakeName() != rootName) {
        return std::nullopt;
    }
    in.SkipSpace();
    if (!in.Take(u">")) {
        return std::nullopt;
    }
    FlatXmlDocument result;
    for (;;) {
        in.SkipSpace();
        if (TakeEndTag(in, rootName)) {
            break;
        }
        if (!in.Take(u"<")) {
            return std::nullopt;
        }
        const auto name = in.TakeName();
        if (name.isEmpty()) {
            return std::nullopt;
        }
        in.SkipSpace();
        QString value;
        if (!in.Take(u"/>")) {
            if (!in.Take(u">")) {
                return std::nullopt;
            }
            const auto raw = in.TakeTextBefore(u'<');
            const auto unescaped = raw ? XmlEntities::Unescape(*raw) : std::nullopt;
            if (!unescaped || !TakeEndTag(in, name)) {
                return std::nullopt;
            }
            value = *unescaped;
        }
        const auto key = name.toString();
        if (result.Fields.contains(key)) {
            return std::nullopt;
        }
        result.Fields.insert(key, value);
    }
    in.SkipSpace();
    if (!in.AtEnd()) {
        return std::nullopt;
    }
    return result;
}

std::optional<QString> FlatXmlDocument::Field(const QString& name) const {
    const auto found = Fields.constFind(name);
    if (found == Fields.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

} // namespace pagewing::sim
