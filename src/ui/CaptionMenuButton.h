#pragma once

#include <QAbstractButton>

namespace pagewing {

// The program's mark at the left of a skinned title strip, which opens the command menu as a title bar's
// window menu does. The strip's picture already shows the mark, so the button draws nothing; like the other
// caption buttons it stays out of the Tab chain.
class CaptionMenuButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CaptionMenuButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace pagewing
