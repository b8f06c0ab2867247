#include "ui/Pictures.h"

#include <QGuiApplication>
#include <QImageReader>

namespace pagewing::Pictures {

namespace {

constexpr qreal DenseRatio = 2;

QString DenseSibling(const QString& path) {
    return path.left(path.lastIndexOf(u'.')) + QStringLiteral("@2x.png");
}

// Only the headers are read to compare sizes; a sibling of another size would change the window's layout.
QPixmap LoadDense(const QString& path) {
    QImageReader dense(DenseSibling(path));
    if (dense.size() != QImageReader(path).size() * DenseRatio) {
        return {};
    }
    auto picture = QPixmap::fromImageReader(&dense);
    picture.setDevicePixelRatio(DenseRatio);
    return picture;
}

// At 150%, say, the painter would sample the 2x picture pixel by pixel and drop every fourth row and column
// of the text; resampled smoothly once to the screen's own density, it is drawn one to one.
QPixmap FitToRatio(const QPixmap& dense, qreal ratio) {
    const auto size = (dense.deviceIndependentSize() * ratio).toSize();
    auto picture = dense.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(ratio);
    return picture;
}

} // namespace

qreal ScreenRatio() {
    return qGuiApp->devicePixelRatio();
}

QPixmap Load(const QString& path, qreal ratio) {
    if (ratio <= 1) {
        return QPixmap(path);
    }
    const auto dense = LoadDense(path);
    if (dense.isNull()) {
        return QPixmap(path);
    }
    return qFuzzyCompare(ratio, DenseRatio) ? dense : FitToRatio(dense, ratio);
}

} // namespace pagewing::Pictures
