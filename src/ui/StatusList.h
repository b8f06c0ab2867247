#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <deque>

class QMenu;
class QStyleOptionViewItem;

namespace pagewing {

// The status list: every line the session reported, each wrapped at word boundaries within the list's
// width, scrolled a whole line at a time. A new line is selected when the selection was the newest line,
// and scrolled into view when the view was at the bottom; a user reading older lines keeps them in view.
// Lines are selected as in a list view (Shift and Ctrl with the mouse and the arrows, Ctrl+A), and a context
// menu copies, saves or clears them. Screen readers see a list named by the accessible name whose items are
// the lines, and hear of each new one.
//
// A list view lays its items out again whenever one is added, so a long session paid more for each line
// than the one before. Here adding a line only stores it. A line's wrapped height is measured when it is
// first needed, to paint it or to work out the scroll range (only the lines that fill the bottom of the
// list count there), and kept until the text width changes; the lines added in one turn of the event loop
// share one layout and one repaint. So a line costs the same at the hundred-thousandth as at the tenth. The
// list keeps the newest MaximumLines lines; what the older ones told of a message is in the history.
class StatusList : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int MaximumLines = 20000;

    explicit StatusList(QWidget* parent = nullptr);

    void AddLine(const QString& line);
    void Clear();

    int Count() const { return static_cast<int>(Lines.size()); }
    const QString& Line(int row) const { return Lines.at(static_cast<std::size_t>(row)).Text; }
    // The line the keyboard is on, -1 while the list is empty.
    int CurrentRow() const { return Current; }
    // Selects this line alone and scrolls it into view; rows outside the list are ignored.
    void SetCurrentRow(int row);
    bool IsSelected(int row) const { return Lines.at(static_cast<std::size_t>(row)).Selected; }
    // How many lines were ever added before the oldest kept one: a line's place in the whole session is its
    // row plus this.
    qint64 Dropped() const { return DroppedLines; }
    // The selected lines, or all of them, one to a line of text.
    QString SelectedText() const;
    QString AllText() const;
    // Writes every line to the file; false when it could not be written.
    bool SaveTo(const QString& fileName) const;
    // The line under a point of the viewport, or -1.
    int LineAt(QPoint point) const;
    // Where a line is drawn in the viewport; empty while it is scrolled out of view.
    QRect LineRect(int row) const;
    // Opens the context menu at a point of the viewport.
    void OpenMenu(QPoint at);

signals:
    void SaveFailed(const QString& fileName);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Entry {
        QString Text;
        // The wrapped height at MeasuredWidth; 0 until measured.
        mutable int Height = 0;
        bool Selected = false;
    };

    enum class Extend { No, Range, Toggle };

    int TopRow() const;
    bool AtBottom() const;
    int TextWidth() const;
    int Height(int row) const;
    void ScheduleLayout();
    void Layout();
    // The top row that shows `row` at the bottom with as many whole lines above it as fit.
    int TopShowingAtBottom(int row) const;
    // How many whole lines fit from the top row down; at least one.
    int LinesOnPage() const;
    void ScrollTo(int row);
    // Moves the keyboard to a row and selects as a list view does for the modifiers held.
    void MoveTo(int row, Extend extend);
    void Select(int first, int last, bool selected);
    void UnselectAll();
    void SelectAll();
    void CopySelected() const;
    void SaveAs();
    QStyleOptionViewItem ItemOption(int row, const QRect& place) const;
    void AnnounceSelection(int row);
    // Lets the oldest line go; the rows of the others move up by one.
    void DropOldest();

    std::deque<Entry> Lines;
    qint64 DroppedLines = 0;
    int Current = -1;
    // Where a Shift selection starts.
    int Anchor = -1;
    // Every selected row lies within these, so that unselecting touches no more than was selected.
    int SelectedFirst = 0;
    int SelectedLast = -1;
    mutable int MeasuredWidth = -1;
    bool LayoutPending = false;
    // Set when a line arrived while the view was at the bottom: the next layout scrolls to the bottom.
    bool FollowNewest = false;
    QMenu* Menu = nullptr;
};

} // namespace pagewing
