#include "ui/UserServerInfo.h"

#include "session/GlobalSettings.h"
#include "ui/CancelButton.h"
#include "ui/OkButton.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace pagewing {

namespace {

QLineEdit* Field(QWidget* parent, const char* name, const QString& label, const QRect& place,
                 const std::u16string& value) {
    auto* field = new QLineEdit(QString::fromStdU16String(value), parent);
    field->setObjectName(QLatin1String(name));
    field->setAccessibleName(label);
    field->setGeometry(place);
    return field;
}

} // namespace

UserServerInfo::UserServerInfo(DesktopIntegration& desktop, QWidget* parent)
    : SkinnedWindow(QStringLiteral(":/skins/options.png"), tr("Options"), desktop, parent) {
    setObjectName(QStringLiteral("UserServerInfo"));
    setAttribute(Qt::WA_DeleteOnClose);
    const auto& settings = GlobalSettings;
    txtLoginURL = Field(this, "txtLoginURL", tr("Login URL"), QRect(24, 51, 89, 19), settings.LoginURL);
    txtLoginPort = Field(this, "txtLoginPort", tr("Login Port"), QRect(132, 51, 89, 19), settings.LoginPort);
    txtICQUIN = Field(this, "txtICQUIN", tr("ICQ Number"), QRect(24, 102, 89, 19), settings.ICQUIN);
    txtICQPassword =
        Field(this, "txtICQPassword", tr("ICQ Password"), QRect(132, 102, 89, 19), settings.ICQPassword);
    txtICQPassword->setEchoMode(QLineEdit::Password);

    OkButton1 = new OkButton(this);
    OkButton1->setObjectName(QStringLiteral("OkButton1"));
    OkButton1->move(24, 146);
    cmdCancel = new CancelButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->move(133, 146);

    setTabOrder(txtICQPassword, txtICQUIN);
    setTabOrder(txtICQUIN, txtLoginPort);
    setTabOrder(txtLoginPort, txtLoginURL);
    setTabOrder(txtLoginURL, OkButton1);
    setTabOrder(OkButton1, cmdCancel);
    setFocusProxy(txtICQPassword);
    txtICQPassword->setFocus();

    connect(OkButton1, &ImageButton::Click, this, &UserServerInfo::OkButton1_Click);
    connect(cmdCancel, &ImageButton::Click, this, &UserServerInfo::cmdCancel_Click);
    for (auto* field : {txtLoginURL, txtLoginPort, txtICQUIN, txtICQPassword}) {
        connect(field, &QLineEdit::returnPressed, this, &UserServerInfo::OkButton1_Click);
    }
}

void UserServerInfo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    SkinnedWindow::keyPressEvent(event);
}

void UserServerInfo::OkButton1_Click() {
    TakeFields();
    close();
    emit LoginSettingsEntered();
}

void UserServerInfo::cmdCancel_Click() {
    close();
}

void UserServerInfo::TakeFields() {
    // Stored as typed: a wrong value shows up as the session's status lines after the login starts.
    GlobalSettings.LoginURL = txtLoginURL->text().toStdU16String();
    GlobalSettings.LoginPort = txtLoginPort->text().toStdU16String();
    GlobalSettings.ICQUIN = txtICQUIN->text().toStdU16String();
    GlobalSettings.ICQPassword = txtICQPassword->text().toStdU16String();
}

} // namespace pagewing
