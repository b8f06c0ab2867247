#pragma once

#include "ui/SkinnedWindow.h"

class QLineEdit;

namespace pagewing {

class CancelButton;
class DesktopIntegration;
class OkButton;

// The options: the authorization server's host and port, the ICQ number and its password. Filled from the
// settings when it opens; OK stores the four as typed and asks for a new login, Cancel changes nothing.
// It is not modal, and closing it deletes it.
class UserServerInfo : public SkinnedWindow {
    Q_OBJECT

public:
    explicit UserServerInfo(DesktopIntegration& desktop, QWidget* parent = nullptr);

signals:
    // The four login settings are in GlobalSettings, to be stored and logged in with.
    void LoginSettingsEntered();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OkButton1_Click();
    void cmdCancel_Click();
    void TakeFields();

    QLineEdit* txtLoginURL;
    QLineEdit* txtLoginPort;
    QLineEdit* txtICQUIN;
    QLineEdit* txtICQPassword;
    OkButton* OkButton1;
    CancelButton* cmdCancel;
};

} // namespace pagewing
