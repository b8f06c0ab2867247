#include "ui/SkinnedWindow.h"

#include "ui/CaptionDrag.h"
#include "ui/Pictures.h"

#include <QFile>
#include <QHideEvent>
#include <QPainter>
#include <QSizeGrip>

#include <array>

namespace pagewing {

namespace {

// Where a skin of this length is cut: its start, the end of the fixed part before, the start of the fixed
// part after, and its end.
std::array<qreal, 4> Cuts(qreal length, int before, int after) {
    return {0, static_cast<qreal>(before), length - after, length};
}

} // namespace

SkinnedWindow::SkinnedWindow(const QString& skin, const QString& title, DesktopIntegration& desktop,
                             QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , Skin(Pictures::Load(skin)) {
    setWindowTitle(title);
    setWindowIcon(QIcon(QStringLiteral(":/icons/pagewing-64.png")));
    setFixedSize(Skin.deviceIndependentSize().toSize());
    setStyleSheet(StyleSheet());
    Caption = new QWidget(this);
    Caption->setObjectName(QStringLiteral("WindowCaption"));
    Caption->setGeometry(0, 0, width(), TitleHeight);
    new CaptionDrag(Caption, this, desktop, CaptionDrag::Buttons::Any, CaptionDrag::Edges::Free);
}

void SkinnedWindow::MakeResizable(const QMargins& fixedBorders, const QSize& minimum) {
    FixedBorders = fixedBorders;
    setMinimumSize(minimum);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    Grip = new QSizeGrip(this);
    Grip->setObjectName(QStringLiteral("SizeGrip"));
    Grip->resize(Grip->sizeHint());
}

void SkinnedWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Caption->resize(width(), TitleHeight);
    if (Grip) {
        Grip->move(width() - Grip->width(), height() - Grip->height());
        Grip->raise();
    }
}

QString SkinnedWindow::StyleSheet() {
    QFile styleSheet(QStringLiteral(":/styles/pagewing.qss"));
    return styleSheet.open(QIODevice::ReadOnly) ? QString::fromUtf8(styleSheet.readAll()) : QString();
}

void SkinnedWindow::ChainTabOrder(std::initializer_list<QWidget*> controls) {
    for (const auto* next = controls.begin(); next + 1 != controls.end(); ++next) {
        QWidget::setTabOrder(*next, *(next + 1));
    }
}

void SkinnedWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        emit Hidden();
    }
}

void SkinnedWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (Grip) {
        PaintStretched(painter);
    } else {
        painter.drawPixmap(0, 0, Skin);
    }
}

void SkinnedWindow::PaintStretched(QPainter& painter) const {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const auto skin = Skin.deviceIndependentSize();
    const auto ratio = Skin.devicePixelRatio();
    const auto& fixed = FixedBorders;
    const auto fromX = Cuts(skin.width(), fixed.left(), fixed.right());
    const auto fromY = Cuts(skin.height(), fixed.top(), fixed.bottom());
    const auto toX = Cuts(width(), fixed.left(), fixed.right());
    const auto toY = Cuts(height(), fixed.top(), fixed.bottom());
    // Nine pieces: the corners as they are, the borders stretched along, the middle both ways.
    for (std::size_t column = 0; column < 3; ++column) {
        for (std::size_t row = 0; row < 3; ++row) {
            const QRectF target(QPointF(toX.at(column), toY.at(row)),
                                QPointF(toX.at(column + 1), toY.at(row + 1)));
            const QRectF source(QPointF(fromX.at(column), fromY.at(row)) * ratio,
                                QPointF(fromX.at(column + 1), fromY.at(row + 1)) * ratio);
            painter.drawPixmap(target, Skin, source);
        }
    }
}

} // namespace pagewing
