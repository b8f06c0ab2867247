#pragma once

#include "desktop/DesktopNotices.h"
#include "service/Messenger.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <memory>

class QDBusServiceWatcher;
class QMenu;
class QWidget;

namespace pagewing {

class SysTray;

// Everything the windows ask of the desktop they run on: the tray icon, and what to do where there is
// none; the way into the command menu; keep-on-top and moving a frameless window, which some desktops
// leave to the compositor; start at logon; help, links and notices. The windows hold no platform branches
// of their own, and a test puts a fake in its place.
class DesktopIntegration : public QObject {
    Q_OBJECT

public:
    explicit DesktopIntegration(QObject* parent = nullptr);
    ~DesktopIntegration() override;

    // Whether the desktop has a notification area now (a stock GNOME desktop has none).
    virtual bool HasTray() const;
    // Puts the window's icon in the notification area, now or whenever one is found: when the window is
    // activated or hidden, or a notification host registers on the session bus. No icon object is made
    // while there is none (on Wayland Qt's fallback icon only complains).
    virtual void ShowTrayIcon(QWidget& window, const QString& toolTip);
    virtual void RemoveTrayIcon();
    // The icon once shown, for a look at where the notification area put it.
    SysTray* Tray() const { return TrayIcon.get(); }
    // From now on the tray icon shows the messaging service's connection, and its tooltip says it in words
    // with the messages waiting: "Reconnecting in 8 seconds — 3 messages waiting".
    void FollowMessages(const Messenger& messages);
    virtual void SetConnectionState(Messenger::Connection state, const QString& words);

    // Hides the window where the tray icon can bring it back, and minimises it to the task bar elsewhere:
    // hidden with no icon to click, it could never come back.
    virtual void HideWindow(QWidget& window);
    // Shows the window again in front of the others, however it was hidden, and gives it the keyboard; on
    // Wayland with the activation token of whoever asked, when there is one.
    virtual void ShowWindow(QWidget& window, const QString& activationToken);
    // Whether the window is on the screen for the user: shown, and not minimised (a Wayland compositor never
    // says when it restores a minimised window, so such a window counts as minimised until it is activated).
    virtual bool IsShown(const QWidget& window) const;

    // Opens the menu as a pop-up of the window, at a point on the screen.
    virtual void PopupMenu(QMenu& menu, QWidget& window, QPoint globalPosition);

    // Whether the window manager honours keep-on-top; Wayland compositors ignore it.
    virtual bool CanKeepOnTop() const;
    // Keeps a shown window above all others, or puts it back among them, without moving or activating it.
    virtual void SetAlwaysOnTop(QWidget& window, bool onTop);

    // Whether the program may place its own top-level windows; on Wayland only the compositor does.
    virtual bool CanPlaceWindows() const;
    // Hands a move of the window by the pointer to the compositor; false when it does not take it.
    virtual bool StartSystemMove(QWidget& window);

    // Start at logon follows StartUp alone: the entry is rewritten from it at every start, and an entry left
    // from an earlier choice is marked hidden.
    // Both give false when the entry could not be written.
    QString StartAtLogonEntry() const;
    virtual bool ReconcileStartAtLogon(bool startUp);
    virtual bool SetStartAtLogon(bool startUp);

    // Opens the help page with the desktop's viewer.
    virtual void OpenHelp(const QString& fileName);
    // Hands a web or mailto address to the desktop's default application, as written.
    virtual void OpenLink(const QString& address);

    // A short notice about something that happened while the window was hidden or minimised: a notice of
    // the desktop's notification service, or the tray icon's message where there is no such service.
    virtual void Notify(const QString& title, const QString& message);

signals:
    // A left click on the tray icon.
    void ShowOrHideRequested();
    // A right click on the tray icon, at the pointer.
    void MenuRequested(QPoint globalPosition);
    // A click on a notice; the token, when there is one, lets a Wayland window take the focus.
    void NoticeClicked(const QString& activationToken);
    // A help page or address that could not be opened (missing, or no program takes it), with a line for
    // the user.
    void OpenFailed(const QString& note);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsWayland() const;
    // Makes the icon once a notification area is there and the window wants one.
    void MakeTrayIconIfTrayAppeared();
    void WatchForATray();
    void ShowConnectionState();

    std::unique_ptr<SysTray> TrayIcon;
    QPointer<QWidget> TrayWindow;
    QDBusServiceWatcher* TrayWatcher = nullptr;
    QString TrayTip;
    Messenger::Connection State = Messenger::Connection::NotConnected;
    QString StateWords;
    // A window this object minimised on Wayland, until it is shown or activated again.
    QPointer<QWidget> MinimisedOnWayland;
    DesktopNotices Notices;
};

} // namespace pagewing
