#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <vector>

class QStyleOptionViewItem;

namespace pagewing {

// The status list: every line the session reported, each wrapped at word boundaries within the list's
// width, the newest selected and scrolled into view as it arrives, scrolled a whole line at a time.
//
// A list view lays its items out again whenever one is added, so a long session paid more for each line
// than the one before. Here adding a line only stores it. A line's wrapped height is measured when it is
// first needed, to paint it or to work out the scroll range (only the lines that fill the bottom of the
// list count there), and kept until the text width changes; the lines added in one turn of the event loop
// share one layout and one repaint. So a line costs the same at the hundred-thousandth as at the tenth.
class StatusList : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit StatusList(QWidget* parent = nullptr);

    // Adds a line at the end, selects it and scrolls it into view.
    void AddLine(const QString& line);

    int Count() const { return static_cast<int>(Lines.size()); }
    const QString& Line(int row) const { return Lines.at(static_cast<std::size_t>(row)).Text; }
    // The selected line, -1 while the list is empty.
    int CurrentRow() const { return Current; }
    // Selects a line and scrolls it into view; rows outside the list are ignored.
    void SetCurrentRow(int row);
    // The line under a point of the viewport, or -1.
    int LineAt(QPoint point) const;
    // Where a line is drawn in the viewport; empty while it is scrolled out of view.
    QRect LineRect(int row) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Entry {
        QString Text;
        // The wrapped height at MeasuredWidth; 0 until measured.
        mutable int Height = 0;
    };

    int TopRow() const;
    int TextWidth() const;
    int Height(int row) const;
    void ScheduleLayout();
    void Layout();
    // The top row that shows `row` at the bottom with as many whole lines above it as fit.
    int TopShowingAtBottom(int row) const;
    // How many whole lines fit from the top row down; at least one.
    int LinesOnPage() const;
    void ScrollTo(int row);
    QStyleOptionViewItem ItemOption(int row, const QRect& place) const;

    std::vector<Entry> Lines;
    int Current = -1;
    mutable int MeasuredWidth = -1;
    bool LayoutPending = false;
    // Set when a line arrived since the last layout, which then scrolls to the bottom.
    bool FollowNewest = false;
};

} // namespace pagewing
