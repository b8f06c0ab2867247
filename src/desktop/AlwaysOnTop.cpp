#include "desktop/AlwaysOnTop.h"

#include <QWidget>
#include <QWindow>

namespace pagewing::AlwaysOnTop {

void SetAlwaysOnTop(QWidget& window, bool onTop) {
    const auto flags = onTop ? window.windowFlags() | Qt::WindowStaysOnTopHint
                             : window.windowFlags() & ~Qt::WindowStaysOnTopHint;
    // QWidget::setWindowFlags would hide and re-create the native window; changing the flag on the platform
    // window only updates the window manager's keep-above state in place.
    window.overrideWindowFlags(flags);
    if (auto* handle = window.windowHandle()) {
        handle->setFlags(flags);
    }
}

} // namespace pagewing::AlwaysOnTop
