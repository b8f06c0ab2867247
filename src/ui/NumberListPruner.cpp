#include "ui/NumberListPruner.h"

#include "service/TelephoneList.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>

namespace pagewing {

NumberListPruner::NumberListPruner(QComboBox& numbers)
    : QObject(&numbers)
    , Numbers(numbers) {
    Numbers.view()->installEventFilter(this);
}

bool NumberListPruner::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        ForgetHighlighted();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void NumberListPruner::ForgetHighlighted() {
    const auto highlighted = Numbers.view()->currentIndex();
    if (!highlighted.isValid()) {
        return;
    }
    TelephoneList::Forget(highlighted.data().toString());
    // Taking out the current item would put another entry's text in the box.
    const auto typed = Numbers.currentText();
    Numbers.removeItem(highlighted.row());
    Numbers.setEditText(typed);
}

} // namespace pagewing
