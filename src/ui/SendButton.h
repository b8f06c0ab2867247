#pragma once

#include "ui/ImageButton.h"

namespace pagewing {

class SendButton : public ImageButton {
    Q_OBJECT

public:
    explicit SendButton(QWidget* parent = nullptr)
        : ImageButton(QStringLiteral("buttons/send"), QStringLiteral("gif"), tr("Send Message"), parent) {}
};

} // namespace pagewing
