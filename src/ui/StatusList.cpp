#include "ui/StatusList.h"

#include "ui/AccessibleFactory.h"
#include "ui/StatusListAccessible.h"

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QSaveFile>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <utility>

namespace pagewing {

StatusList::StatusList(QWidget* parent)
    : QAbstractScrollArea(parent) {
    InstallAccessibleFactory<StatusList, StatusListAccessible>();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A scroll bar that came and went would change the text width and with it every wrapped height.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void StatusList::AddLine(const QString& line) {
    // A selection of the user's own stays; the newest line as the selection moves on to the new one.
    const bool selectNew = Count() == 0 || (SelectedFirst == Current && SelectedLast == Current &&
                                            Current == Count() - 1 && Anchor == Current);
    FollowNewest = FollowNewest || AtBottom();
    Lines.push_back({line});
    if (Count() > MaximumLines) {
        DropOldest();
    }
    const auto row = Count() - 1;
    if (QAccessible::isActive()) {
        QAccessibleEvent created(this, QAccessible::ObjectCreated);
        created.setChild(row);
        QAccessible::updateAccessibility(&created);
    }
    if (selectNew) {
        UnselectAll();
        Current = Anchor = row;
        Select(row, row, true);
        AnnounceSelection(row);
    }
    ScheduleLayout();
}

void StatusList::DropOldest() {
    if (QAccessible::isActive()) {
        static_cast<StatusListAccessible*>(QAccessible::queryAccessibleInterface(this))->ForgetOldestLine();
        QAccessibleEvent destroyed(this, QAccessible::ObjectDestroyed);
        destroyed.setChild(0);
        QAccessible::updateAccessibility(&destroyed);
    }
    Lines.pop_front();
    ++DroppedLines;
    const auto moveUp = [](int& row) {
        row = std::max(row - 1, 0);
    };
    moveUp(Current);
    moveUp(Anchor);
    moveUp(SelectedFirst);
    --SelectedLast;
    // The lines in view stay in view.
    auto* bar = verticalScrollBar();
    bar->setValue(bar->value() - 1);
}

void StatusList::Clear() {
    DroppedLines += Count();
    Lines.clear();
    Current = Anchor = -1;
    SelectedFirst = 0;
    SelectedLast = -1;
    if (QAccessible::isActive()) {
        static_cast<StatusListAccessible*>(QAccessible::queryAccessibleInterface(this))->ForgetLines();
        QAccessibleEvent reordered(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reordered);
    }
    ScheduleLayout();
}

void StatusList::SetCurrentRow(int row) {
    MoveTo(row, Extend::No);
}

QString StatusList::SelectedText() const {
    QStringList selected;
    for (int row = std::max(0, SelectedFirst); row <= SelectedLast; ++row) {
        if (IsSelected(row)) {
            selected.append(Line(row));
        }
    }
    return selected.join(u'\n');
}

QString StatusList::AllText() const {
    QString text;
    for (const auto& entry : Lines) {
        text += entry.Text + u'\n';
    }
    text.chop(1);
    return text;
}

bool StatusList::SaveTo(const QString& fileName) const {
    QSaveFile file(fileName);
    // The lines name numbers and messages: the file is its owner's alone, whatever the umask.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner)) {
        return false;
    }
    file.write(AllText().toUtf8() + '\n');
    return file.commit();
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

void StatusList::OpenMenu(QPoint at) {
    if (!Menu) {
        // A child of the list, so that the window's style sheet reaches it.
        Menu = new QMenu(this);
        Menu->setObjectName(QStringLiteral("StatusMenu"));
        Menu->addAction(tr("&Copy"), QKeySequence::Copy, this, &StatusList::CopySelected)
            ->setObjectName(QStringLiteral("Copy"));
        Menu->addAction(tr("Copy &All"), this, [this] { QGuiApplication::clipboard()->setText(AllText()); })
            ->setObjectName(QStringLiteral("CopyAll"));
        Menu->addAction(tr("&Save As..."), this, &StatusList::SaveAs)
            ->setObjectName(QStringLiteral("SaveAs"));
        Menu->addSeparator();
        Menu->addAction(tr("C&lear"), this, &StatusList::Clear)->setObjectName(QStringLiteral("Clear"));
    }
    const auto actions = Menu->actions();
    actions[0]->setEnabled(SelectedLast >= SelectedFirst);
    for (auto* action : actions.mid(1)) {
        action->setEnabled(Count() > 0);
    }
    Menu->popup(viewport()->mapToGlobal(at));
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
        CopySelected();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    const auto last = Count() - 1;
    const auto extend = event->modifiers().testFlag(Qt::ShiftModifier) ? Extend::Range : Extend::No;
    switch (event->key()) {
    case Qt::Key_Up:
        MoveTo(std::max(0, Current - 1), extend);
        break;
    case Qt::Key_Down:
        MoveTo(std::min(last, Current + 1), extend);
        break;
    case Qt::Key_PageUp:
        MoveTo(std::max(0, Current - LinesOnPage()), extend);
        break;
    case Qt::Key_PageDown:
        MoveTo(std::min(last, Current + LinesOnPage()), extend);
        break;
    case Qt::Key_Home:
        MoveTo(0, extend);
        break;
    case Qt::Key_End:
        MoveTo(last, extend);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void StatusList::mousePressEvent(QMouseEvent* event) {
    const auto modifiers = event->modifiers();
    const auto row = LineAt(event->position().toPoint());
    if (event->button() == Qt::RightButton && row >= 0 && IsSelected(row)) {
        // A right click on the selection keeps it, for the menu to copy.
        event->accept();
        return;
    }
    MoveTo(row, modifiers.testFlag(Qt::ShiftModifier)     ? Extend::Range
                : modifiers.testFlag(Qt::ControlModifier) ? Extend::Toggle
                                                          : Extend::No);
    event->accept();
}

void StatusList::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons().testFlag(Qt::LeftButton)) {
        MoveTo(LineAt(event->position().toPoint()), Extend::Range);
    }
    event->accept();
}

void StatusList::contextMenuEvent(QContextMenuEvent* event) {
    const auto keyboard = event->reason() == QContextMenuEvent::Keyboard;
    const auto current = LineRect(Current);
    OpenMenu(keyboard ? (current.isValid() ? current.center() : QPoint()) : event->pos());
    event->accept();
}

void StatusList::scrollContentsBy(int, int) {
    // The scroll bar counts lines, not pixels: the viewport is painted anew from its top line.
    viewport()->update();
}

int StatusList::TopRow() const {
    return verticalScrollBar()->value();
}

bool StatusList::AtBottom() const {
    return verticalScrollBar()->value() >= verticalScrollBar()->maximum();
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

void StatusList::MoveTo(int row, Extend extend) {
    if (row < 0 || row >= Count()) {
        return;
    }
    if (LayoutPending) {
        Layout();
    }
    if (extend == Extend::Toggle) {
        Select(row, row, !IsSelected(row));
        Anchor = row;
    } else {
        UnselectAll();
        if (extend == Extend::No || Anchor < 0) {
            Anchor = row;
        }
        Select(std::min(Anchor, row), std::max(Anchor, row), true);
    }
    Current = row;
    ScrollTo(row);
    AnnounceSelection(row);
    viewport()->update();
}

void StatusList::Select(int first, int last, bool selected) {
    for (int row = first; row <= last; ++row) {
        Lines[static_cast<std::size_t>(row)].Selected = selected;
    }
    if (selected) {
        SelectedFirst = SelectedLast < SelectedFirst ? first : std::min(SelectedFirst, first);
        SelectedLast = std::max(SelectedLast, last);
    }
}

void StatusList::UnselectAll() {
    if (SelectedLast >= SelectedFirst) {
        Select(SelectedFirst, SelectedLast, false);
    }
    SelectedFirst = 0;
    SelectedLast = -1;
}

void StatusList::SelectAll() {
    if (Count() > 0) {
        Select(0, Count() - 1, true);
        viewport()->update();
    }
}

void StatusList::CopySelected() const {
    if (SelectedLast >= SelectedFirst) {
        QGuiApplication::clipboard()->setText(SelectedText());
    }
}

void StatusList::SaveAs() {
    const auto fileName =
        QFileDialog::getSaveFileName(this, tr("Save the Status Lines"), QString(), tr("Text files (*.txt)"));
    if (!fileName.isEmpty() && !SaveTo(fileName)) {
        emit SaveFailed(fileName);
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
    if (IsSelected(row)) {
        option.state |= QStyle::State_Selected;
    }
    if (row == Current && hasFocus()) {
        option.state |= QStyle::State_HasFocus;
    }
    return option;
}

void StatusList::AnnounceSelection(int row) {
    if (!QAccessible::isActive()) {
        return;
    }
    // The line the keyboard is on is the list's focus; a screen reader reads it when the list has the focus.
    QAccessibleEvent selected(this, hasFocus() ? QAccessible::Focus : QAccessible::Selection);
    selected.setChild(row);
    QAccessible::updateAccessibility(&selected);
}

} // namespace pagewing
