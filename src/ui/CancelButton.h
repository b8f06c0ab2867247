#pragma once

#include "ui/ImageButton.h"

namespace pagewing {

class CancelButton : public ImageButton {
    Q_OBJECT

public:
    explicit CancelButton(QWidget* parent = nullptr)
        : ImageButton(QStringLiteral("buttons/cancel"), QStringLiteral("gif"), tr("Cancel"), parent) {}
};

} // namespace pagewing
