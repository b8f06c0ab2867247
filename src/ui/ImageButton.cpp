#include "ui/ImageButton.h"

#include "ui/AccessibleFactory.h"
#include "ui/ImageButtonAccessible.h"
#include "ui/Pictures.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace pagewing {

namespace {
constexpr const char* StateNames[] = {"normal", "hover", "pressed", "disabled"};
}

ImageButton::ImageButton(const QString& pictureStem, const QString& suffix, const QString& toolTip,
                         QWidget* parent)
    : QAbstractButton(parent) {
    InstallAccessibleFactory<ImageButton, ImageButtonAccessible>();
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    SetPictures(pictureStem, suffix, toolTip);
    // QAbstractButton clicks only for the left button, the keyboard and click(): each is a Click, whatever
    // mouse button was used last.
    connect(this, &QAbstractButton::clicked, this, &ImageButton::Click);
}

void ImageButton::SetEnable(bool enable) {
    const bool changed = enable != EnableState;
    EnableState = enable;
    UpdateButtonImage();
    if (changed) {
        ImageButtonAccessible::EnableChanged(*this);
    }
}

QSize ImageButton::sizeHint() const {
    return PictureSize();
}

void ImageButton::SetPictures(const QString& pictureStem, const QString& suffix, const QString& toolTip) {
    for (int state = Normal; state <= Disabled; ++state) {
        SourceImage[static_cast<std::size_t>(state)] = Pictures::Load(
            QStringLiteral(":/%1-%2.%3").arg(pictureStem, QLatin1String(StateNames[state]), suffix));
    }
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    FitToImage();
    update();
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, SourceImage[static_cast<std::size_t>(CurrentState)]);
    if (hasFocus()) {
        QPen pen(palette().color(QPalette::Highlight), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    MouseIsDown = true;
    LastMouseButton = ButtonCode(event->button());
    if (LastMouseButton == 1) {
        const auto at = event->position();
        emit OnMouseDown(1, ShiftCode(event->modifiers()), at.x(), at.y());
    }
    QAbstractButton::mousePressEvent(event);
    UpdateButtonImage();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    MouseIsDown = false;
    LastMouseButton = ButtonCode(event->button());
    if (LastMouseButton == 1) {
        const auto at = event->position();
        emit OnMouseUp(1, ShiftCode(event->modifiers()), at.x(), at.y());
    }
    QAbstractButton::mouseReleaseEvent(event);
    UpdateButtonImage();
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    // Dragged off while held, the button shows Normal; back over it, Pressed again.
    QAbstractButton::mouseMoveEvent(event);
    UpdateButtonImage();
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat()) {
            LastMouseButton = 1;
            click();
        }
        break;
    case Qt::Key_Space:
        LastMouseButton = 1;
        QAbstractButton::keyPressEvent(event);
        break;
    default:
        QAbstractButton::keyPressEvent(event);
    }
    UpdateButtonImage();
}

void ImageButton::keyReleaseEvent(QKeyEvent* event) {
    QAbstractButton::keyReleaseEvent(event);
    UpdateButtonImage();
}

void ImageButton::enterEvent(QEnterEvent* event) {
    PointerOver = true;
    QAbstractButton::enterEvent(event);
    UpdateButtonImage();
}

void ImageButton::leaveEvent(QEvent* event) {
    PointerOver = false;
    QAbstractButton::leaveEvent(event);
    UpdateButtonImage();
}

void ImageButton::focusInEvent(QFocusEvent* event) {
    QAbstractButton::focusInEvent(event);
    update();
}

void ImageButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    update();
}

void ImageButton::UpdateButtonImage() {
    auto state = CurrentState;
    if (!EnableState) {
        state = Disabled;
    } else if (isDown() && LastMouseButton == 1 && !MouseIsDown) {
        state = Pressed; // held down from the keyboard
    } else if (!PointerOver) {
        state = Normal;
    } else if (!MouseIsDown) {
        state = Hover;
    } else if (LastMouseButton == 1) {
        state = isDown() ? Pressed : Normal;
    }
    // A right or middle button held over the button keeps the picture it had.
    if (state != CurrentState) {
        CurrentState = state;
        update();
    }
}

void ImageButton::FitToImage() {
    // The picture decides the size; whatever size a holder sets is replaced by it.
    setFixedSize(PictureSize());
}

QSize ImageButton::PictureSize() const {
    // In logical pixels, so that a 2x picture takes the place of its 1x one and the click area stays put.
    return SourceImage[Normal].deviceIndependentSize().toSize();
}

int ImageButton::ButtonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int ImageButton::ShiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) | (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

} // namespace pagewing
