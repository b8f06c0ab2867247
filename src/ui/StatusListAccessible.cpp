#include "ui/StatusListAccessible.h"

#include "ui/StatusList.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace pagewing {

class StatusListAccessible::Line : public QAccessibleInterface {
public:
    Line(StatusList& list, qint64 place)
        : ListWidget(&list)
        , Place(place) {}

    int Row() const { return ListWidget ? static_cast<int>(Place - ListWidget->Dropped()) : -1; }

    bool isValid() const override {
        return ListWidget != nullptr && Row() >= 0 && Row() < ListWidget->Count();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return ListWidget ? ListWidget->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(ListWidget);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name && isValid() ? ListWidget->Line(Row()) : QString();
    }

    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const auto drawn = ListWidget->LineRect(Row());
        return drawn.isValid() ? QRect(ListWidget->viewport()->mapToGlobal(drawn.topLeft()), drawn.size())
                               : QRect();
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = ListWidget->IsSelected(Row());
        state.focused = ListWidget->hasFocus() && ListWidget->CurrentRow() == Row();
        state.invisible = !ListWidget->isVisible();
        state.offscreen = !ListWidget->LineRect(Row()).isValid();
        return state;
    }

private:
    QPointer<StatusList> ListWidget;
    const qint64 Place;
};

StatusListAccessible::StatusListAccessible(StatusList* list)
    : QAccessibleWidget(list, QAccessible::List) {}

StatusListAccessible::~StatusListAccessible() {
    ForgetLines();
}

void StatusListAccessible::ForgetLines() {
    for (const auto& [row, id] : Lines) {
        QAccessible::deleteAccessibleInterface(id);
    }
    Lines.clear();
}

void StatusListAccessible::ForgetOldestLine() {
    if (const auto found = Lines.find(List().Dropped()); found != Lines.end()) {
        QAccessible::deleteAccessibleInterface(found->second);
        Lines.erase(found);
    }
}

int StatusListAccessible::childCount() const {
    return List().Count();
}

QAccessibleInterface* StatusListAccessible::child(int index) const {
    if (index < 0 || index >= List().Count()) {
        return nullptr;
    }
    const auto place = List().Dropped() + index;
    if (const auto found = Lines.find(place); found != Lines.end()) {
        return QAccessible::accessibleInterface(found->second);
    }
    auto* line = new Line(List(), place);
    Lines.emplace(place, QAccessible::registerAccessibleInterface(line));
    return line;
}

int StatusListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* line = dynamic_cast<const Line*>(child);
    return line != nullptr && line->parent() == this ? line->Row() : -1;
}

QAccessibleInterface* StatusListAccessible::childAt(int x, int y) const {
    const auto& list = List();
    return child(list.LineAt(list.viewport()->mapFromGlobal(QPoint(x, y))));
}

QAccessibleInterface* StatusListAccessible::focusChild() const {
    return List().hasFocus() ? child(List().CurrentRow()) : nullptr;
}

QAccessible::State StatusListAccessible::state() const {
    auto state = QAccessibleWidget::state();
    state.multiSelectable = true;
    return state;
}

StatusList& StatusListAccessible::List() const {
    return *static_cast<StatusList*>(widget());
}

} // namespace pagewing
