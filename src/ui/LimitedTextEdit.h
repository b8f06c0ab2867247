#pragma once

#include <QPlainTextEdit>

namespace pagewing {

// A multi-line text box with a most-characters limit, as a line edit has one. A line break counts as the
// two characters (carriage return, line feed) that it becomes in the text. The limit applies to what is
// typed, pasted or dropped from then on: of an insertion only what fits stays, and text already in the box
// is never cut. Characters that cannot be sent (outside Windows-1252) are underlined in red as they come.
class LimitedTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit LimitedTextEdit(QWidget* parent = nullptr);

    // The text with CR LF line breaks.
    QString Text() const;
    int TextLength() const;
    int MaxLength() const { return Limit; }
    void SetMaxLength(int limit) { Limit = limit; }

private:
    // The text with LF line breaks, every other character as typed.
    QString TypedText() const;
    void OnContentsChange(int position, int removed, int added);
    void MarkUnsendable();

    int Limit = 32767;
    bool Trimming = false;
};

} // namespace pagewing
