#pragma once

#include "ui/ImageButton.h"

namespace pagewing {

// A push button of the Message History window, drawn from ":/buttons/<name>-*.gif".
class HistoryButton : public ImageButton {
    Q_OBJECT

public:
    HistoryButton(const QString& name, const QString& caption, QWidget* parent = nullptr)
        : ImageButton(QStringLiteral("buttons/") + name, QStringLiteral("gif"), caption, parent) {}
};

} // namespace pagewing
