#pragma once

#include <QAbstractButton>
#include <QPixmap>

#include <array>

namespace pagewing {

// A button drawn from four pictures: normal, hover, pressed and disabled. Enable only chooses the picture:
// a button shown disabled still reports presses and clicks, and its holder decides what a click does.
//
// Only the left button counts: OnMouseDown and OnMouseUp are raised for it alone, and Click for a press and
// release with it, for Space, Return and Enter, and for click(). Whether the pointer is over the button comes
// from enter and leave events, so a window lying over the button leaves it Normal. The button takes the
// keyboard focus; Space, Return and Enter click it.
class ImageButton : public QAbstractButton {
    Q_OBJECT

public:
    enum State { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

    bool Enable() const { return EnableState; }
    void SetEnable(bool enable);
    State ButtonState() const { return CurrentState; }

    QSize sizeHint() const override;

signals:
    // Button: 1 left; Shift: 1 Shift, 2 Ctrl, 4 Alt; X, Y: the position within the button.
    void OnMouseDown(int Button, int Shift, double X, double Y);
    void OnMouseUp(int Button, int Shift, double X, double Y);
    void Click();

protected:
    // Pictures are found at ":/<folder>/<name>-normal.<suffix>" and likewise -hover, -pressed, -disabled.
    ImageButton(const QString& pictureStem, const QString& suffix, const QString& toolTip, QWidget* parent);
    void SetPictures(const QString& pictureStem, const QString& suffix, const QString& toolTip);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void UpdateButtonImage();
    void FitToImage();
    QSize PictureSize() const;
    static int ButtonCode(Qt::MouseButton button);
    static int ShiftCode(Qt::KeyboardModifiers modifiers);

    std::array<QPixmap, 4> SourceImage;
    bool EnableState = true;
    State CurrentState = Normal;
    bool PointerOver = false;
    bool MouseIsDown = false;
    int LastMouseButton = 0;
};

} // namespace pagewing
