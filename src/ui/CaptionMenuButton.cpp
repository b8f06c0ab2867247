#include "ui/CaptionMenuButton.h"

namespace pagewing {

CaptionMenuButton::CaptionMenuButton(QWidget* parent)
    : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("Command menu (Shift+F10)"));
    setAccessibleName(tr("Command menu"));
}

void CaptionMenuButton::paintEvent(QPaintEvent*) {}

} // namespace pagewing
