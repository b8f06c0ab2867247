#include "ui/StatusList.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <utility>

namespace pagewing {

StatusList::StatusList(QWidget* parent)
    : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A scroll bar that came and went would change the text width and with it every wrapped height.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void StatusList::AddLine(const QString& line) {
    Lines.push_back({line});
    Current = Count() - 1;
    FollowNewest = true;
    ScheduleLayout();
}

void StatusList::SetCurrentRow(int row) {
    if (row < 0 || row >= Count()) {
        return;
    }
    if (LayoutPending) {
        Layout();
    }
    Current = row;
    ScrollTo(row);
    viewport()->update();
}

int StatusList::LineAt(QPoint point) const {
    if (!viewport()->rect().contains(point)) {
        return -1;
    }
    for (int row = TopRow(), bottom = 0; row < Count(); ++row) {
        bottom += Height(row);
        if (point.y() < bottom) {
            return row;
        }
    }
    return -1;
}

QRect StatusList::LineRect(int row) const {
    if (row < TopRow() || row >= Count()) {
        return {};
    }
    int top = 0;
    for (int above = TopRow(); above < row && top < viewport()->height(); ++above) {
        top += Height(above);
    }
    return top < viewport()->height() ? QRect(0, top, viewport()->width(), Height(row)) : QRect();
}

void StatusList::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const auto room = viewport()->height();
    for (int row = TopRow(), top = 0; row < Count() && top < room; ++row) {
        const QRect place(0, top, viewport()->width(), Height(row));
        const auto option = ItemOption(row, place);
        style()->drawControl(QStyle::CE_ItemViewItem, &option, &painter, this);
        top += place.height();
    }
}

void StatusList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    ScheduleLayout();
}

void StatusList::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        MeasuredWidth = -1;
        ScheduleLayout();
    }
}

void StatusList::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        if (Current >= 0) {
            QGuiApplication::clipboard()->setText(Line(Current));
        }
        return;
    }
    const auto last = Count() - 1;
    switch (event->key()) {
    case Qt::Key_Up:
        SetCurrentRow(std::max(0, Current - 1));
        break;
    case Qt::Key_Down:
        SetCurrentRow(std::min(last, Current + 1));
        break;
    case Qt::Key_PageUp:
        SetCurrentRow(std::max(0, Current - LinesOnPage()));
        break;
    case Qt::Key_PageDown:
        SetCurrentRow(std::min(last, Current + LinesOnPage()));
        break;
    case Qt::Key_Home:
        SetCurrentRow(0);
        break;
    case Qt::Key_End:
        SetCurrentRow(last);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void StatusList::mousePressEvent(QMouseEvent* event) {
    SetCurrentRow(LineAt(event->position().toPoint()));
    event->accept();
}

void StatusList::scrollContentsBy(int, int) {
    // The scroll bar counts lines, not pixels: the viewport is painted anew from its top line.
    viewport()->update();
}

int StatusList::TopRow() const {
    return verticalScrollBar()->value();
}

int StatusList::TextWidth() const {
    // The margin the style leaves on each side of an item's text, as a list view has it.
    const auto margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return viewport()->width() - 2 * margin;
}

int StatusList::Height(int row) const {
    const auto width = TextWidth();
    if (width != MeasuredWidth) {
        for (const auto& entry : Lines) {
            entry.Height = 0;
        }
        MeasuredWidth = width;
    }
    const auto& entry = Lines[static_cast<std::size_t>(row)];
    if (entry.Height == 0) {
        // One pixel above and below the text, as a list view's item has.
        entry.Height =
            fontMetrics().boundingRect(QRect(0, 0, width, 0), Qt::TextWordWrap, entry.Text).height() + 2;
    }
    return entry.Height;
}

void StatusList::ScheduleLayout() {
    if (!std::exchange(LayoutPending, true)) {
        QMetaObject::invokeMethod(this, &StatusList::Layout, Qt::QueuedConnection);
    }
}

void StatusList::Layout() {
    LayoutPending = false;
    const auto bottomTop = Count() == 0 ? 0 : TopShowingAtBottom(Count() - 1);
    auto* bar = verticalScrollBar();
    bar->setRange(0, bottomTop);
    bar->setPageStep(std::max(1, Count() - bottomTop));
    if (std::exchange(FollowNewest, false)) {
        bar->setValue(bottomTop);
    }
    viewport()->update();
}

int StatusList::TopShowingAtBottom(int row) const {
    const auto room = viewport()->height();
    int top = row;
    for (int used = Height(row); top > 0 && used + Height(top - 1) <= room; --top) {
        used += Height(top - 1);
    }
    return top;
}

int StatusList::LinesOnPage() const {
    const auto room = viewport()->height();
    int lines = 0;
    for (int row = TopRow(), used = 0; row < Count(); ++row, ++lines) {
        used += Height(row);
        if (used > room) {
            break;
        }
    }
    return std::max(1, lines);
}

void StatusList::ScrollTo(int row) {
    const auto top = TopRow();
    if (row < top) {
        verticalScrollBar()->setValue(row);
    } else if (row >= top + LinesOnPage()) {
        verticalScrollBar()->setValue(TopShowingAtBottom(row));
    }
}

QStyleOptionViewItem StatusList::ItemOption(int row, const QRect& place) const {
    // What a list view hands its style for one enabled item with text only.
    QStyleOptionViewItem option;
    option.initFrom(this);
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
    option.rect = place;
    option.font = font();
    option.fontMetrics = fontMetrics();
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.textElideMode = Qt::ElideRight;
    option.features = QStyleOptionViewItem::WrapText | QStyleOptionViewItem::HasDisplay;
    option.text = Line(row);
    option.showDecorationSelected =
        style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, this);
    option.locale = locale();
    option.widget = this;
    if (isEnabled()) {
        option.palette.setCurrentColorGroup(QPalette::Normal);
    }
    if (row == Current) {
        option.state |= QStyle::State_Selected;
        if (hasFocus()) {
            option.state |= QStyle::State_HasFocus;
        }
    }
    return option;
}

} // namespace pagewing
