#pragma once

#include "ui/ImageButton.h"

namespace pagewing {

class OkButton : public ImageButton {
    Q_OBJECT

public:
    explicit OkButton(QWidget* parent = nullptr)
        : ImageButton(QStringLiteral("buttons/ok"), QStringLiteral("gif"), tr("OK"), parent) {}
};

} // namespace pagewing
