#include "ui/UserServerInfo.h"

#include "session/GlobalSettings.h"
#include "ui/PictureButton.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

#include <utility>

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

// Digits only, no more of them than the largest allowed value has, and within the range.
bool IsWholeNumber(const QString& text, qint64 lowest, qint64 highest) {
    if (text.isEmpty() || text.size() > QString::number(highest).size()) {
        return false;
    }
    for (const auto character : text) {
        if (character < u'0' || character > u'9') {
            return false;
        }
    }
    const auto value = text.toLongLong();
    return value >= lowest && value <= highest;
}

// The tooltip and the accessible description say what is wrong; the frame turns red once something wrong
// was typed (an empty field is only waiting to be filled).
void Mark(QLineEdit& field, const QString& problem) {
    const bool invalid = !problem.isEmpty() && !field.text().isEmpty();
    if (field.property("invalid").toBool() != invalid) {
        field.setProperty("invalid", invalid);
        field.style()->unpolish(&field);
        field.style()->polish(&field);
    }
    field.setToolTip(problem);
    field.setAccessibleDescription(problem);
}

} // namespace

UserServerInfo::UserServerInfo(DesktopIntegration& desktop, QWidget* parent)
    : SkinnedWindow(QStringLiteral(":/skins/options.png"), tr("User and Server Information"), desktop,
                    parent) {
    setObjectName(QStringLiteral("UserServerInfo"));
    setAttribute(Qt::WA_DeleteOnClose);
    const auto& settings = GlobalSettings;
    // Wide enough for 30 characters of a host name; the port, number and password share the row below.
    txtLoginURL = Field(this, "txtLoginURL", tr("Login URL"), QRect(24, 51, 232, 19), settings.LoginURL);
    txtLoginPort = Field(this, "txtLoginPort", tr("Login Port"), QRect(24, 102, 59, 19), settings.LoginPort);
    txtICQUIN = Field(this, "txtICQUIN", tr("ICQ Number"), QRect(96, 102, 74, 19), settings.ICQUIN);
    txtICQPassword =
        Field(this, "txtICQPassword", tr("ICQ Password"), QRect(183, 102, 73, 19), settings.ICQPassword);
    txtICQPassword->setEchoMode(QLineEdit::Password);

    lblProblem = new QLabel(this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setGeometry(24, 124, 232, 26);
    lblProblem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblProblem->setWordWrap(true);

    OkButton1 = new PictureButton(PictureButton::OkButton, this);
    OkButton1->setObjectName(QStringLiteral("OkButton1"));
    OkButton1->move(44, 166);
    cmdCancel = new PictureButton(PictureButton::CancelButton, this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->move(148, 166);

    ChainTabOrder({txtLoginURL, txtLoginPort, txtICQUIN, txtICQPassword, OkButton1, cmdCancel});

    connect(OkButton1, &ImageButton::Click, this, &UserServerInfo::OkButton1_Click);
    connect(cmdCancel, &ImageButton::Click, this, &UserServerInfo::cmdCancel_Click);
    for (auto* field : {txtLoginURL, txtLoginPort, txtICQUIN, txtICQPassword}) {
        connect(field, &QLineEdit::returnPressed, this, &UserServerInfo::OkButton1_Click);
        connect(field, &QLineEdit::textChanged, this, &UserServerInfo::CheckFields);
    }
    CheckFields();
    auto* first = FirstFieldToFill();
    setFocusProxy(first);
    first->setFocus();
}

QString UserServerInfo::LoginURLProblem(const QString& text) {
    return text.trimmed().isEmpty() ? tr("Enter the login server's host name") : QString();
}

QString UserServerInfo::LoginPortProblem(const QString& text) {
    return IsWholeNumber(text, 1, 65535) ? QString()
                                         : tr("Login port must be a whole number from 1 to 65535");
}

QString UserServerInfo::ICQUINProblem(const QString& text) {
    return IsWholeNumber(text, 1, 2147483647) ? QString()
                                              : tr("ICQ number must be a whole number from 1 to 2147483647");
}

QString UserServerInfo::ICQPasswordProblem(const QString& text) {
    // The login scrambles at most 16 characters.
    return !text.isEmpty() && text.size() <= 16 ? QString() : tr("Password must be 1 to 16 characters");
}

void UserServerInfo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdCancel_Click();
        return;
    }
    SkinnedWindow::keyPressEvent(event);
}

void UserServerInfo::OkButton1_Click() {
    if (!CheckFields()) {
        FirstFieldToFill()->setFocus();
        return;
    }
    TakeFields();
    close();
    emit LoginSettingsEntered();
}

void UserServerInfo::cmdCancel_Click() {
    close();
}

void UserServerInfo::TakeFields() {
    GlobalSettings.LoginURL = txtLoginURL->text().trimmed().toStdU16String();
    GlobalSettings.LoginPort = txtLoginPort->text().toStdU16String();
    GlobalSettings.ICQUIN = txtICQUIN->text().toStdU16String();
    GlobalSettings.ICQPassword = txtICQPassword->text().toStdU16String();
}

bool UserServerInfo::CheckFields() {
    const std::pair<QLineEdit*, QString> checks[] = {
        {txtLoginURL, LoginURLProblem(txtLoginURL->text())},
        {txtLoginPort, LoginPortProblem(txtLoginPort->text())},
        {txtICQUIN, ICQUINProblem(txtICQUIN->text())},
        {txtICQPassword, ICQPasswordProblem(txtICQPassword->text())},
    };
    QString first;
    for (const auto& [field, problem] : checks) {
        Mark(*field, problem);
        if (first.isEmpty()) {
            first = problem;
        }
    }
    lblProblem->setText(first);
    OkButton1->SetEnable(first.isEmpty());
    return first.isEmpty();
}

QLineEdit* UserServerInfo::FirstFieldToFill() const {
    for (auto* field : {txtLoginURL, txtLoginPort, txtICQUIN, txtICQPassword}) {
        if (field->property("invalid").toBool() || field->text().isEmpty()) {
            return field;
        }
    }
    return txtLoginURL;
}

} // namespace pagewing
