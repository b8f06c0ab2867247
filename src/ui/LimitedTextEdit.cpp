#include "ui/LimitedTextEdit.h"

#include <QTextCursor>
#include <QTextDocument>

namespace pagewing {

namespace {

int LengthOf(QChar character) {
    return character == QChar::ParagraphSeparator || character == QChar::LineSeparator || character == u'\n'
               ? 2
               : 1;
}

} // namespace

LimitedTextEdit::LimitedTextEdit(QWidget* parent)
    : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, &LimitedTextEdit::OnContentsChange);
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

} // namespace pagewing
