#pragma once

#include <QAccessibleWidget>

#include <unordered_map>

namespace pagewing {

class StatusList;

// What assistive technology reads of the status list: a list whose items are its lines, each named by its
// text, selectable, and selected or focused as the list shows it. The list paints its lines itself, so
// without this a screen reader found an unnamed filler with nothing in it.
//
// A line's interface is made when a reader first asks for it and kept, under an id, until the line is dropped
// or the lines are cleared. Lines are appended and dropped only at the oldest end, so a line's place in the
// whole session (its row plus the lines dropped before it) is its identity.
class StatusListAccessible : public QAccessibleWidget {
public:
    explicit StatusListAccessible(StatusList* list);
    ~StatusListAccessible() override;

    // The lines were cleared: their interfaces go.
    void ForgetLines();
    // The oldest line is about to be dropped: its interface goes.
    void ForgetOldestLine();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QAccessible::State state() const override;

private:
    class Line;

    StatusList& List() const;

    // By place in the session.
    mutable std::unordered_map<qint64, QAccessible::Id> Lines;
};

} // namespace pagewing
