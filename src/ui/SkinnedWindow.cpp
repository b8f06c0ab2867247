#include "ui/SkinnedWindow.h"

#include "ui/CaptionDrag.h"
#include "ui/Pictures.h"

#include <QFile>
#include <QHideEvent>
#include <QPainter>

namespace pagewing {

SkinnedWindow::SkinnedWindow(const QString& skin, const QString& title, DesktopIntegration& desktop,
                             QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , Skin(Pictures::Load(skin)) {
    setWindowTitle(title);
    setWindowIcon(QIcon(QStringLiteral(":/icons/pagewing-64.png")));
    setFixedSize(Skin.deviceIndependentSize().toSize());
    setStyleSheet(StyleSheet());
    auto* caption = new QWidget(this);
    caption->setObjectName(QStringLiteral("WindowCaption"));
    caption->setGeometry(0, 0, width(), TitleHeight);
    new CaptionDrag(caption, this, desktop, CaptionDrag::Buttons::Any, CaptionDrag::Edges::Free);
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
    painter.drawPixmap(0, 0, Skin);
}

} // namespace pagewing
