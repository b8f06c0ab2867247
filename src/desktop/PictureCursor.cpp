#include "desktop/PictureCursor.h"

#include <QGuiApplication>

namespace pagewing::PictureCursor {

QCursor FromPicture(const QPixmap& picture, QPoint hotSpot) {
    // Qt's X11 cursors take the hot spot in the picture's own pixels (a 2x hand would point 12,9 device
    // pixels in, half way to the fingertip); Wayland scales the cursor surface and takes logical pixels.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        hotSpot *= picture.devicePixelRatio();
    }
    return QCursor(picture, hotSpot.x(), hotSpot.y());
}

} // namespace pagewing::PictureCursor
