#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace pagewing {

class DesktopIntegration;

// Moves a frameless window while its skinned title strip is dragged, keeping the grabbed point under the
// pointer. Driven by the strip's mouse events, so nothing runs while no drag is going on. Where the desktop
// does not let a program place its windows, the drag is handed to the compositor, which then also does any
// snapping.
class CaptionDrag : public QObject {
    Q_OBJECT

public:
    enum class Buttons { Any, LeftOnly };
    enum class Edges { Free, Snap };

    CaptionDrag(QWidget* caption, QWidget* window, DesktopIntegration& desktop, Buttons buttons, Edges edges);

    bool IsDragging() const { return Dragging; }

signals:
    void DragFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* Window;
    DesktopIntegration& Desktop;
    Buttons AcceptedButtons;
    Edges EdgeRule;
    QPoint GrabOffset;
    bool Dragging = false;
};

} // namespace pagewing
