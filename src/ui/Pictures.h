#pragma once

#include <QPixmap>
#include <QString>

namespace pagewing::Pictures {

// The device pixel ratio that pictures are chosen for: the highest of any screen, as QIcon chooses its files.
qreal ScreenRatio();

// Loads a picture such as ":/skins/about.png". Above ratio 1 its twice-as-dense sibling
// ":/skins/about@2x.png" (always PNG, whatever the picture's own format) is loaded instead, marked with ratio
// 2 so that it paints at the picture's size in logical pixels; at other ratios above 1 it is first resampled
// to that ratio. A sibling that is missing or not exactly twice the size is passed over for the picture
// itself, scaled up by the painter as before.
QPixmap Load(const QString& path, qreal ratio = ScreenRatio());

} // namespace pagewing::Pictures
