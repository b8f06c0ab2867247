#include "platform/DesktopIntegration.h"

#include "platform/AlwaysOnTop.h"
#include "platform/HelpFile.h"
#include "platform/HyperLink.h"
#include "platform/RegisteryAccess.h"
#include "platform/SysTray.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QWidget>
#include <QWindow>

namespace pagewing {

DesktopIntegration::DesktopIntegration(QObject* parent)
    : QObject(parent) {}

DesktopIntegration::~DesktopIntegration() = default;

bool DesktopIntegration::HasTray() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void DesktopIntegration::ShowTrayIcon(QWidget& window, const QString& toolTip) {
    if (!TrayIcon) {
        TrayIcon = std::make_unique<SysTray>();
        connect(TrayIcon.get(), &SysTray::MouseLeftButtonDown, this,
                &DesktopIntegration::ShowOrHideRequested);
        connect(TrayIcon.get(), &SysTray::MouseRightButtonDown, this,
                [this] { emit MenuRequested(QCursor::pos()); });
    }
    TrayIcon->SysTrayInit(window, toolTip);
}

void DesktopIntegration::RemoveTrayIcon() {
    if (TrayIcon) {
        TrayIcon->RemoveIconFromSystemTray();
    }
}

void DesktopIntegration::HideWindow(QWidget& window) {
    if (HasTray()) {
        window.hide();
    } else {
        window.showMinimized();
    }
}

void DesktopIntegration::PopupMenu(QMenu& menu, QWidget& window, QPoint globalPosition) {
    // A pop-up needs a parent surface on Wayland, and keeps above a window that stays on top elsewhere.
    menu.winId();
    if (auto* handle = menu.windowHandle()) {
        handle->setTransientParent(window.window()->windowHandle());
    }
    menu.popup(globalPosition);
}

bool DesktopIntegration::CanKeepOnTop() const {
    return !IsWayland();
}

void DesktopIntegration::SetAlwaysOnTop(QWidget& window, bool onTop) {
    AlwaysOnTop::SetAlwaysOnTop(window, onTop);
}

bool DesktopIntegration::CanPlaceWindows() const {
    return !IsWayland();
}

bool DesktopIntegration::StartSystemMove(QWidget& window) {
    auto* handle = window.windowHandle();
    return handle != nullptr && handle->startSystemMove();
}

bool DesktopIntegration::ReconcileStartAtLogon(bool startUp) {
    return !(startUp || QFile::exists(RegisteryAccess::AutostartEntryFileName())) ||
           RegisteryAccess::WriteRunEntry(startUp);
}

QString DesktopIntegration::StartAtLogonEntry() const {
    return RegisteryAccess::AutostartEntryFileName();
}

bool DesktopIntegration::SetStartAtLogon(bool startUp) {
    return RegisteryAccess::WriteRunEntry(startUp);
}

void DesktopIntegration::OpenHelp(const QString& fileName) {
    HelpFile::Open(fileName);
}

void DesktopIntegration::OpenLink(const QString& address) {
    HyperLink::OpenLink(address);
}

void DesktopIntegration::Notify(const QString& title, const QString& message) {
    if (TrayIcon && HasTray()) {
        TrayIcon->Icon().showMessage(title, message, QSystemTrayIcon::Information);
    }
}

void DesktopIntegration::ReadPassword(const QString& account, Keyring::Handler onRead) {
    Secrets.ReadPassword(account, std::move(onRead));
}

void DesktopIntegration::WritePassword(const QString& account, const QString& password,
                                       Keyring::Handler onWritten) {
    Secrets.WritePassword(account, password, std::move(onWritten));
}

bool DesktopIntegration::IsWayland() const {
    return QGuiApplication::platformName() == QLatin1String("wayland");
}

} // namespace pagewing
