#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace pagewing::ScreenPlacement {

// Where a window dragged to `proposed` goes: within a margin of one hundredth of the screen's height from an
// edge it snaps to that edge, and it never passes one.
QPoint SnapToEdges(QPoint proposed, QSize window, const QRect& screen);

// A window whose title strip no screen shows (a monitor unplugged since its position was stored) cannot be
// dragged back; such a window is moved fully onto the nearest screen. Other positions are kept.
QPoint KeepReachable(const QRect& window, int titleHeight, const QList<QRect>& screens);

// Where a window of the given size opens next to an anchor window: to its right when the screen has room
// there, otherwise to its left, top edges aligned, kept on the screen.
QPoint Beside(const QRect& anchor, QSize size, const QRect& screen);

// Where a window of the given size opens centred on an anchor window, kept on the screen.
QPoint CentredOn(const QRect& anchor, QSize size, const QRect& screen);

} // namespace pagewing::ScreenPlacement
