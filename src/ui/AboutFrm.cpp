#include "ui/AboutFrm.h"

#include "desktop/DesktopIntegration.h"
#include "desktop/PictureCursor.h"
#include "platform/ProductInfo.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "ui/PictureButton.h"
#include "ui/Pictures.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>

namespace pagewing {

namespace {

QLabel* Line(QWidget* parent, const char* name, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A text line that opens an address when clicked or when activated from the keyboard.
QLabel* Link(QWidget* parent, const char* name, const QString& text, const QRect& place,
             const QString& address, DesktopIntegration& desktop) {
    auto* label = Line(parent, name,
                       QStringLiteral("<a href=\"%1\" style=\"color:#1f66ad\">%2</a>")
                           .arg(address.toHtmlEscaped(), text.toHtmlEscaped()),
                       place);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setCursor(
        PictureCursor::FromPicture(Pictures::Load(QStringLiteral(":/cursors/hand.png")), {12, 9}));
    label->setAccessibleName(text);
    // The address goes to the desktop as written; the label must not hand over its own parsed form.
    QObject::connect(label, &QLabel::linkActivated, parent,
                     [address, &desktop] { desktop.OpenLink(address); });
    return label;
}

} // namespace

AboutFrm::AboutFrm(DesktopIntegration& desktop, QWidget* parent)
    : SkinnedWindow(QStringLiteral(":/skins/about.png"), tr("About ") + ProductInfo::NameAndVersion, desktop,
                    parent) {
    setObjectName(QStringLiteral("AboutFrm"));
    lblVersion = Line(this, "lblVersion", ProductInfo::NameAndVersion, QRect(4, 186, 358, 19));
    QFont versionFont(QStringLiteral("Arial"), 12, QFont::Bold);
    lblVersion->setFont(versionFont);
    lblVersion->setStyleSheet(QStringLiteral("color: #d01818;"));
    lblCreator = Line(this, "lblCreator", ProductInfo::Creator, QRect(4, 221, 358, 13));
    lblLink = Link(this, "lblLink", tr("Visit Our Web Site"), QRect(4, 243, 358, 13),
                   ProductInfo::MakerWebSite, desktop);
    lblSendToFriend = Link(this, "lblSendToFriend", tr("Send To A Friend"), QRect(4, 265, 358, 13),
                           ProductInfo::SendToAFriend, desktop);
    lblShowHelp = Line(this, "lblShowHelp", tr("     Show Help On Start Up"), QRect(4, 287, 358, 13));

    chkShowHelp = new QCheckBox(this);
    chkShowHelp->setObjectName(QStringLiteral("chkShowHelp"));
    // The box sits in the five leading spaces of its line, wherever the font puts them.
    const QFontMetrics metrics(lblShowHelp->font());
    const auto text = lblShowHelp->text();
    const auto textLeft = lblShowHelp->x() + (lblShowHelp->width() - metrics.horizontalAdvance(text)) / 2;
    const auto spaces = metrics.horizontalAdvance(text.left(5));
    chkShowHelp->setGeometry(textLeft + (spaces - 13) / 2, 287, 13, 13);
    chkShowHelp->setAccessibleName(tr("Show Help On Start Up"));
    chkShowHelp->setChecked(GlobalSettings.ShowHelp != 0);
    lblShowHelp->setBuddy(chkShowHelp);

    cmdClose = new PictureButton(PictureButton::CloseButton, this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->move(138, 322);

    connect(chkShowHelp, &QCheckBox::clicked, this, &AboutFrm::chkShowHelp_Click);
    connect(cmdClose, &ImageButton::Click, this, &QWidget::hide);
}

void AboutFrm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    SkinnedWindow::keyPressEvent(event);
}

void AboutFrm::chkShowHelp_Click() {
    // Takes effect at the next start.
    GlobalSettings.ShowHelp = chkShowHelp->isChecked() ? 1 : 0;
    RegisteryLoadSave::SaveWindowSettings();
}

} // namespace pagewing
