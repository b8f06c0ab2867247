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

} // namespace pagewing::ScreenPlacement
