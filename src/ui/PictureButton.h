#pragma once

#include "ui/ImageButton.h"

namespace pagewing {

// A push button drawn from ":/buttons/<stem>-normal.gif" and its hover, pressed and disabled pictures, named
// for screen readers and in its tooltip by its caption. The windows' own kinds come with theirs.
class PictureButton : public ImageButton {
    Q_OBJECT

public:
    enum Kind { SendButton, ClearButton, OkButton, CancelButton, CloseButton };

    PictureButton(Kind kind, QWidget* parent);
    PictureButton(const QString& stem, const QString& caption, QWidget* parent);
};

} // namespace pagewing
