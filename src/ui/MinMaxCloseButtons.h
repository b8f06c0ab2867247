#pragma once

#include "ui/ImageButton.h"

namespace pagewing {

// A caption button of the skinned title strip: ButtonType 1 minimize, 2 maximize, 3 close (the default).
// Caption buttons stay out of the Tab chain, as a title bar's buttons do.
class MinMaxCloseButtons : public ImageButton {
    Q_OBJECT

public:
    enum Type { Minimize = 1, Maximize = 2, Close = 3 };

    explicit MinMaxCloseButtons(QWidget* parent = nullptr);

    int ButtonType() const { return CurrentType; }
    // A type other than 1, 2 or 3 is stored but keeps the pictures the button had.
    void SetButtonType(int type);

private:
    int CurrentType = Close;
};

} // namespace pagewing
