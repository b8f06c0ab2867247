#include "ui/CaptionDrag.h"

#include "desktop/DesktopIntegration.h"
#include "ui/ScreenPlacement.h"

#include <QEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

namespace pagewing {

CaptionDrag::CaptionDrag(QWidget* caption, QWidget* window, DesktopIntegration& desktop, Buttons buttons,
                         Edges edges)
    : QObject(caption)
    , Window(window)
    , Desktop(desktop)
    , AcceptedButtons(buttons)
    , EdgeRule(edges) {
    caption->installEventFilter(this);
}

bool CaptionDrag::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (AcceptedButtons == Buttons::Any || mouse->button() == Qt::LeftButton) {
            if (!Desktop.CanPlaceWindows()) {
                Desktop.StartSystemMove(*Window);
                return true;
            }
            GrabOffset = mouse->globalPosition().toPoint() - Window->pos();
            Dragging = true;
            return true;
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // The main window follows only while exactly the left button is held.
        const bool held = AcceptedButtons == Buttons::Any || mouse->buttons() == Qt::LeftButton;
        if (Dragging && held) {
            auto target = mouse->globalPosition().toPoint() - GrabOffset;
            if (EdgeRule == Edges::Snap && Window->screen() != nullptr) {
                target = ScreenPlacement::SnapToEdges(target, Window->frameGeometry().size(),
                                                      Window->screen()->geometry());
            }
            Window->move(target);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (Dragging) {
            Dragging = false;
            emit DragFinished();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pagewing
