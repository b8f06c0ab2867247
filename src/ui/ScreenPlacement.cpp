#include "ui/ScreenPlacement.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pagewing::ScreenPlacement {

namespace {

// One axis of the snap: `start` is the edge relative to the screen, `limit` the farthest it may go.
int SnapAxis(int start, int limit, int margin) {
    if (start > margin && start < limit - margin) {
        return start;
    }
    return start <= margin ? 0 : limit;
}

int DistanceSquared(const QRect& a, const QRect& b) {
    const auto dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const auto dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

// Enough of the title strip to take hold of with the pointer.
constexpr int GripWidth = 32;
// Between a window and the one it opens beside.
constexpr int Gap = 8;

QPoint KeptOn(QPoint at, QSize size, const QRect& screen) {
    return {std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())),
            std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()))};
}

} // namespace

QPoint SnapToEdges(QPoint proposed, QSize window, const QRect& screen) {
    const auto margin = static_cast<int>(std::lround(screen.height() / 100.0));
    const auto x = SnapAxis(proposed.x() - screen.left(), screen.width() - window.width(), margin);
    const auto y = SnapAxis(proposed.y() - screen.top(), screen.height() - window.height(), margin);
    return screen.topLeft() + QPoint(x, y);
}

QPoint KeepReachable(const QRect& window, int titleHeight, const QList<QRect>& screens) {
    const QRect title(window.topLeft(), QSize(window.width(), titleHeight));
    const auto reachable = std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
        const auto visible = screen.intersected(title);
        return visible.width() >= std::min(GripWidth, title.width()) && visible.height() == title.height();
    });
    if (reachable || screens.isEmpty()) {
        return window.topLeft();
    }
    const auto nearest =
        std::min_element(screens.begin(), screens.end(), [&](const QRect& a, const QRect& b) {
            return DistanceSquared(window, a) < DistanceSquared(window, b);
        });
    return KeptOn(window.topLeft(), window.size(), *nearest);
}

QPoint Beside(const QRect& anchor, QSize size, const QRect& screen) {
    const bool roomOnTheRight = anchor.right() + Gap + size.width() <= screen.right();
    const auto x = roomOnTheRight ? anchor.right() + 1 + Gap : anchor.left() - Gap - size.width();
    return KeptOn({x, anchor.top()}, size, screen);
}

QPoint CentredOn(const QRect& anchor, QSize size, const QRect& screen) {
    return KeptOn(anchor.center() - QPoint(size.width() / 2, size.height() / 2), size, screen);
}

} // namespace pagewing::ScreenPlacement
