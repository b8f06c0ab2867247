#pragma once

#include <QPoint>
#include <QWidget>

namespace pagewing {

// The program's mark at the left of a skinned title strip, which opens the command menu at the pointer as a
// title bar's window menu does. The strip's picture already shows the mark, so it draws nothing; like the
// other caption buttons it stays out of the Tab chain.
class CaptionMenuButton : public QWidget {
    Q_OBJECT

public:
    explicit CaptionMenuButton(QWidget* parent = nullptr);

signals:
    void MenuRequested(QPoint globalPosition);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace pagewing
