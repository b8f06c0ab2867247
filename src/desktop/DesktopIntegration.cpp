#include "desktop/DesktopIntegration.h"

#include "desktop/AlwaysOnTop.h"
#include "desktop/HelpFile.h"
#include "desktop/HyperLink.h"
#include "desktop/RegisteryAccess.h"
#include "desktop/SysTray.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace pagewing {

DesktopIntegration::DesktopIntegration(QObject* parent)
    : QObject(parent) {
    connect(&Notices, &DesktopNotices::Clicked, this, &DesktopIntegration::NoticeClicked);
}

DesktopIntegration::~DesktopIntegration() = default;

bool DesktopIntegration::HasTray() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void DesktopIntegration::ShowTrayIcon(QWidget& window, const QString& toolTip) {
    TrayWindow = &window;
    TrayTip = toolTip;
    window.installEventFilter(this);
    WatchForATray();
    MakeTrayIconIfTrayAppeared();
}

void DesktopIntegration::WatchForATray() {
    // A notification area that speaks D-Bus (KDE Plasma's, GNOME's with an extension) registers this
    // service when it starts. Only a window with an icon to show asks, and only once it is drawn: the
    // command line has no use for the bus's connection.
    if (TrayWatcher) {
        return;
    }
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    TrayWatcher = new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"), bus,
                                          QDBusServiceWatcher::WatchForRegistration, this);
    connect(TrayWatcher, &QDBusServiceWatcher::serviceRegistered, this,
            &DesktopIntegration::MakeTrayIconIfTrayAppeared);
}

void DesktopIntegration::RemoveTrayIcon() {
    TrayWindow = nullptr;
    if (TrayIcon) {
        TrayIcon->RemoveIconFromSystemTray();
    }
}

void DesktopIntegration::FollowMessages(const Messenger& messages) {
    const auto follow = [this, &messages] {
        const auto queued = messages.Queued();
        const auto words = queued == 0 ? messages.StateText()
                           : queued == 1
                               ? tr("%1 \u2014 1 message waiting").arg(messages.StateText())
                               : tr("%1 \u2014 %2 messages waiting").arg(messages.StateText()).arg(queued);
        SetConnectionState(messages.State(), words);
    };
    connect(&messages, &Messenger::ConnectionChanged, this, follow);
    connect(&messages, &Messenger::OutboxChanged, this, follow);
    follow();
}

void DesktopIntegration::SetConnectionState(Messenger::Connection state, const QString& words) {
    State = state;
    StateWords = words;
    ShowConnectionState();
}

void DesktopIntegration::HideWindow(QWidget& window) {
    if (HasTray()) {
        MakeTrayIconIfTrayAppeared();
        window.hide();
        return;
    }
    window.showMinimized();
    if (IsWayland()) {
        window.installEventFilter(this);
        MinimisedOnWayland = &window;
    }
}

void DesktopIntegration::ShowWindow(QWidget& window, const QString& activationToken) {
    if (MinimisedOnWayland == &window) {
        MinimisedOnWayland = nullptr;
        // A client cannot restore its minimised Wayland window; a window hidden and shown again is mapped
        // anew, in front.
        window.hide();
    }
    window.showNormal();
    window.raise();
    if (IsWayland() && !activationToken.isEmpty()) {
        // Where the compositor offers xdg-activation, Qt's Wayland plugin activates with this token.
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    }
    window.activateWindow();
}

bool DesktopIntegration::IsShown(const QWidget& window) const {
    return window.isVisible() && !window.isMinimized() && MinimisedOnWayland != &window;
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
    const auto page = HelpFile::Locate(fileName);
    if (page.isEmpty()) {
        emit OpenFailed(tr("The help page %1 is not installed").arg(fileName));
    } else if (!HyperLink::OpenLink(QUrl::fromLocalFile(page).toString())) {
        emit OpenFailed(tr("No program could open %1").arg(page));
    }
}

void DesktopIntegration::OpenLink(const QString& address) {
    if (!HyperLink::OpenLink(address)) {
        emit OpenFailed(tr("No program could open %1").arg(address));
    }
}

void DesktopIntegration::Notify(const QString& title, const QString& message) {
    Notices.Show(title, message, [this, title, message] {
        if (TrayIcon && HasTray()) {
            TrayIcon->Icon().showMessage(title, message, QSystemTrayIcon::Information);
        }
    });
}

bool DesktopIntegration::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        // Activated again, a minimised window was restored by the user (from a dock or an overview).
        if (watched == MinimisedOnWayland) {
            MinimisedOnWayland = nullptr;
        }
        MakeTrayIconIfTrayAppeared();
    }
    return QObject::eventFilter(watched, event);
}

bool DesktopIntegration::IsWayland() const {
    return QGuiApplication::platformName() == QLatin1String("wayland");
}

void DesktopIntegration::MakeTrayIconIfTrayAppeared() {
    if (TrayIcon || TrayWindow == nullptr || !HasTray()) {
        return;
    }
    TrayIcon = std::make_unique<SysTray>();
    connect(TrayIcon.get(), &SysTray::MouseLeftButtonDown, this, &DesktopIntegration::ShowOrHideRequested);
    connect(TrayIcon.get(), &SysTray::MouseRightButtonDown, this,
            [this] { emit MenuRequested(QCursor::pos()); });
    connect(&TrayIcon->Icon(), &QSystemTrayIcon::messageClicked, this, [this] { emit NoticeClicked({}); });
    TrayIcon->SysTrayInit(*TrayWindow, TrayTip);
    ShowConnectionState();
}

void DesktopIntegration::ShowConnectionState() {
    if (!TrayIcon) {
        return;
    }
    using Connection = Messenger::Connection;
    const auto* picture = State == Connection::Ready ? "ready"
                          : State == Connection::LoggingIn || State == Connection::WaitingToReconnect
                              ? "reconnecting"
                              : "not-connected";
    TrayIcon->SetIconAndTip(QIcon(QStringLiteral(":/desktop/tray-%1.png").arg(QLatin1String(picture))),
                            StateWords.isEmpty() ? TrayTip : tr("%1: %2").arg(TrayTip, StateWords));
    TrayIcon->ModifyIconInSystemTray();
}

} // namespace pagewing
