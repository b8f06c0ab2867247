#pragma once

#include "ui/SkinnedWindow.h"

class QLabel;
class QLineEdit;

namespace pagewing {

class DesktopIntegration;
class PictureButton;

// The options: the authorization server's host and port, the ICQ number and its password. Filled from the
// settings when it opens; OK stores the four and asks for a new login, Cancel changes nothing. Each field
// is checked as it is typed: a wrong one is marked and says why, and OK stays disabled until all are right,
// so that nothing unusable is stored. It is not modal, and closing it deletes it.
class UserServerInfo : public SkinnedWindow {
    Q_OBJECT

public:
    explicit UserServerInfo(DesktopIntegration& desktop, QWidget* parent = nullptr);

    // What is wrong with each field's text, or an empty text when it is right.
    static QString LoginURLProblem(const QString& text);
    static QString LoginPortProblem(const QString& text);
    static QString ICQUINProblem(const QString& text);
    static QString ICQPasswordProblem(const QString& text);

signals:
    // The four login settings are in GlobalSettings, to be stored and logged in with.
    void LoginSettingsEntered();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OkButton1_Click();
    void cmdCancel_Click();
    void TakeFields();
    // Marks the wrong fields, names the first problem and enables OK when there is none; true then.
    bool CheckFields();
    QLineEdit* FirstFieldToFill() const;

    QLineEdit* txtLoginURL;
    QLineEdit* txtLoginPort;
    QLineEdit* txtICQUIN;
    QLineEdit* txtICQPassword;
    QLabel* lblProblem;
    PictureButton* OkButton1;
    PictureButton* cmdCancel;
};

} // namespace pagewing
