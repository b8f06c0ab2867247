#pragma once

#include <QPixmap>
#include <QWidget>

namespace pagewing {

class DesktopIntegration;

// A frameless window of fixed size drawn entirely by one skin picture, title strip included, and moved by
// dragging that strip with any mouse button.
class SkinnedWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int TitleHeight = 24;

    // The style sheet that makes the widgets placed on a skin match it.
    static QString StyleSheet();

signals:
    // Closed or hidden by the program or the user; the window beneath may take the keyboard back.
    void Hidden();

protected:
    SkinnedWindow(const QString& skin, const QString& title, DesktopIntegration& desktop, QWidget* parent);
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPixmap Skin;
};

} // namespace pagewing
