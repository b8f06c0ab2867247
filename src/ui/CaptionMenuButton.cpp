#include "ui/CaptionMenuButton.h"

#include <QMouseEvent>

namespace pagewing {

CaptionMenuButton::CaptionMenuButton(QWidget* parent)
    : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("Command menu (Shift+F10)"));
    setAccessibleName(tr("Command menu"));
}

void CaptionMenuButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit MenuRequested(event->globalPosition().toPoint());
        return;
    }
    QWidget::mousePressEvent(event);
}

} // namespace pagewing
