#pragma once

#include "ui/ImageButton.h"

namespace pagewing {

class ClearButton : public ImageButton {
    Q_OBJECT

public:
    explicit ClearButton(QWidget* parent = nullptr)
        : ImageButton(QStringLiteral("buttons/clear"), QStringLiteral("gif"), tr("Clear Window"), parent) {}
};

} // namespace pagewing
