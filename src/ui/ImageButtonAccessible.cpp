#include "ui/ImageButtonAccessible.h"

#include "ui/ImageButton.h"

namespace pagewing {

ImageButtonAccessible::ImageButtonAccessible(ImageButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

void ImageButtonAccessible::EnableChanged(ImageButton& button) {
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.disabled = true;
        QAccessibleStateChangeEvent event(&button, changed);
        QAccessible::updateAccessibility(&event);
    }
}

QAccessible::State ImageButtonAccessible::state() const {
    auto state = QAccessibleWidget::state();
    state.disabled = !static_cast<ImageButton*>(widget())->Enable();
    return state;
}

QStringList ImageButtonAccessible::actionNames() const {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void ImageButtonAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction()) {
        static_cast<ImageButton*>(widget())->click();
    } else {
        QAccessibleWidget::doAction(actionName);
    }
}

} // namespace pagewing
