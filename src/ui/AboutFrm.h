#pragma once

#include "ui/SkinnedWindow.h"

class QCheckBox;
class QLabel;

namespace pagewing {

class PictureButton;
class DesktopIntegration;

// The About window, which also welcomes the user at start: the version, a credit line, the maker's web site,
// a ready-made recommendation e-mail, and the choice whether it opens at start. Closing it only hides it.
class AboutFrm : public SkinnedWindow {
    Q_OBJECT

public:
    explicit AboutFrm(DesktopIntegration& desktop, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void chkShowHelp_Click();

    QLabel* lblVersion;
    QLabel* lblCreator;
    QLabel* lblLink;
    QLabel* lblSendToFriend;
    QLabel* lblShowHelp;
    QCheckBox* chkShowHelp;
    PictureButton* cmdClose;
};

} // namespace pagewing
