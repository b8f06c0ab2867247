#pragma once

#include <QCursor>
#include <QPixmap>
#include <QPoint>

namespace pagewing::PictureCursor {

// A cursor drawn from a picture, which may be one drawn for a scaled screen (device pixel ratio 2); the hot
// spot is given in logical pixels, as for the 1x picture.
QCursor FromPicture(const QPixmap& picture, QPoint hotSpot);

} // namespace pagewing::PictureCursor
