#pragma once

class QWidget;

namespace pagewing::AlwaysOnTop {

// Keeps a shown window above all others, or puts it back among them, without moving or activating it.
void SetAlwaysOnTop(QWidget& window, bool onTop);

} // namespace pagewing::AlwaysOnTop
