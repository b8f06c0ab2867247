#pragma once

#include <QAccessibleWidget>

namespace pagewing {

class ImageButton;

// What assistive technology reads of an image button: a push button named by its tooltip that can be
// pressed, and disabled while it shows its disabled picture. The widget itself stays enabled, since a
// button shown disabled still clicks, so the state the toolkit would report from it said "enabled".
class ImageButtonAccessible : public QAccessibleWidget {
public:
    explicit ImageButtonAccessible(ImageButton* button);

    // Tells assistive technology that the button's picture turned disabled or back.
    static void EnableChanged(ImageButton& button);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
};

} // namespace pagewing
