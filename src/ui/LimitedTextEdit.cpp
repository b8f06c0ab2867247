#include "ui/LimitedTextEdit.h"

#include "bytes/Windows1252.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace pagewing {

namespace {

bool IsLineBreak(QChar character) {
    return character == QChar::ParagraphSeparator || character == QChar::LineSeparator;
}

int LengthOf(QChar character) {
    return IsLineBreak(character) || character == u'\n' ? 2 : 1;
}

} // namespace

LimitedTextEdit::LimitedTextEdit(QWidget* parent)
    : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, &LimitedTextEdit::OnContentsChange);
    connect(document(), &QTextDocument::contentsChange, this, &LimitedTextEdit::MarkUnsendable);
}

QString LimitedTextEdit::Text() const {
    auto text = TypedText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

int LimitedTextEdit::TextLength() const {
    const auto text = TypedText();
    return static_cast<int>(text.size() + text.count(u'\n'));
}

QString LimitedTextEdit::TypedText() const {
    // toPlainText() would turn a non-breaking space into a plain one; the message goes out as typed.
    auto text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void LimitedTextEdit::OnContentsChange(int position, int removed, int added) {
    Q_UNUSED(removed);
    if (Trimming || added <= 0) {
        return;
    }
    auto excess = TextLength() - Limit;
    if (excess <= 0) {
        return;
    }
    // Take back the end of what was just inserted until the text fits again.
    auto end = position + added;
    auto start = end;
    while (excess > 0 && start > position) {
        --start;
        excess -= LengthOf(document()->characterAt(start));
    }
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    Trimming = true;
    cursor.removeSelectedText();
    Trimming = false;
}

// The whole text is looked at again: it is short, and an edit can join or split a surrogate pair.
void LimitedTextEdit::MarkUnsendable() {
    QTextCharFormat wavy;
    wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    wavy.setUnderlineColor(Qt::red);
    QList<QTextEdit::ExtraSelection> marks;
    const auto text = document()->toRawText();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsLineBreak(text[i]) || Windows1252::ByteOf(text[i].unicode())) {
            continue;
        }
        // A character outside the first plane is marked whole, both halves of its surrogate pair.
        const auto end =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? i + 2 : i + 1;
        QTextCursor cursor(document());
        cursor.setPosition(static_cast<int>(i));
        cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
        marks.append({cursor, wavy});
        i = end - 1;
    }
    setExtraSelections(marks);
}

} // namespace pagewing
