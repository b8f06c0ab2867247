#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace pagewing {

// Moves a frameless window while its skinned title strip is dragged, keeping the grabbed point under the
// pointer. Driven by the strip's mouse events, so nothing runs while no drag is going on.
class CaptionDrag : public QObject {
    Q_OBJECT

public:
    enum class Buttons { Any, LeftOnly };
    enum class Edges { Free, Snap };

    CaptionDrag(QWidget* caption, QWidget* window, Buttons buttons, Edges edges);

    bool IsDragging() const { return Dragging; }

signals:
    void DragFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* Window;
    Buttons AcceptedButtons;
    Edges EdgeRule;
    QPoint GrabOffset;
    bool Dragging = false;
};

} // namespace pagewing
