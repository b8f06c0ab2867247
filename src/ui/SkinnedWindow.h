#pragma once

#include <QMargins>
#include <QPixmap>
#include <QWidget>

#include <initializer_list>

namespace pagewing {

class DesktopIntegration;

// A frameless window drawn entirely by one skin picture, title strip included, and moved by dragging that
// strip with any mouse button. It has the skin's size, unless it is made resizable. It is a dialog of the
// window given as its parent, which window managers keep over that window even while it stays on top (X11
// knows a window's owner only for dialogs; on Wayland the parent becomes the compositor's parent toplevel).
class SkinnedWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int TitleHeight = 24;

    // The style sheet that makes the widgets placed on a skin match it.
    static QString StyleSheet();
    // Tab goes from each control to the next, in the order given.
    static void ChainTabOrder(std::initializer_list<QWidget*> controls);

signals:
    // Closed or hidden by the program or the user; the window beneath may take the keyboard back.
    void Hidden();

protected:
    SkinnedWindow(const QString& skin, const QString& title, DesktopIntegration& desktop, QWidget* parent);
    // Lets the window be resized from a grip in its bottom right corner, which hands the resize to the window
    // manager or the compositor where there is one. The skin keeps the borders given at their size and
    // stretches what lies between them.
    void MakeResizable(const QMargins& fixedBorders, const QSize& minimum);
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintStretched(QPainter& painter) const;

    QPixmap Skin;
    QWidget* Caption;
    QWidget* Grip = nullptr;
    QMargins FixedBorders;
};

} // namespace pagewing
