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
    const auto nearest = std::min_element(screens.begin(), screens.end(), [&](const QRect& a, const QRect& b) {
        return DistanceSquared(window, a) < DistanceSquared(window, b);
    });
    const auto x = std::clamp(window.left(), nearest->left(), std::max(nearest->left(), nearest->right() + 1 - window.width()));
    const auto y = std::clamp(window.top(), nearest->top(), std::max(nearest->top(), nearest->bottom() + 1 - window.height()));
    return {x, y};
}

} // namespace pagewing::ScreenPlacement
