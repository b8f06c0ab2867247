#include "desktop/SysTray.h"

#include <QWidget>

namespace pagewing {

SysTray::SysTray(QObject* parent)
    : QObject(parent) {
    connect(&TrayIcon, &QSystemTrayIcon::activated, this, &SysTray::OnActivated);
}

void SysTray::SysTrayInit(QWidget& Frm, const QString& Tip) {
    SetIconAndTip(Frm.windowIcon(), Tip);
    AddIconToSystemTray();
}

void SysTray::SetIconAndTip(const QIcon& icon, const QString& tip) {
    RecordIcon = icon;
    RecordTip = tip;
}

void SysTray::AddIconToSystemTray() {
    ModifyIconInSystemTray();
    TrayIcon.show();
}

void SysTray::ModifyIconInSystemTray() {
    TrayIcon.setIcon(RecordIcon);
    TrayIcon.setToolTip(RecordTip);
}

void SysTray::RemoveIconFromSystemTray() {
    TrayIcon.hide();
}

void SysTray::InterpretMouseCommand(float Message) {
    // Exact comparisons, as the message numbers are whole: a fraction matches none of them.
    if (Message == 513.0f) {
        emit MouseLeftButtonDown();
    } else if (Message == 514.0f) {
        emit MouseLeftButtonUp();
    } else if (Message == 515.0f) {
        emit MouseLeftButtonDblClick();
    } else if (Message == 516.0f) {
        emit MouseRightButtonDown();
    } else if (Message == 517.0f) {
        emit MouseRightButtonUp();
    } else if (Message == 518.0f) {
        emit MouseRightButtonDblClick();
    }
}

void SysTray::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        InterpretMouseCommand(513.0f);
        InterpretMouseCommand(514.0f);
        break;
    case QSystemTrayIcon::DoubleClick:
        InterpretMouseCommand(515.0f);
        break;
    case QSystemTrayIcon::Context:
        InterpretMouseCommand(516.0f);
        InterpretMouseCommand(517.0f);
        break;
    default:
        break;
    }
}

} // namespace pagewing
