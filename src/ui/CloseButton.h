#pragma once

#include "ui/ImageButton.h"

namespace pagewing {

class CloseButton : public ImageButton {
    Q_OBJECT

public:
    explicit CloseButton(QWidget* parent = nullptr)
        : ImageButton(QStringLiteral("buttons/close"), QStringLiteral("gif"), tr("Close"), parent) {}
};

} // namespace pagewing
