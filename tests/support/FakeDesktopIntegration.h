#pragma once

#include "desktop/DesktopIntegration.h"

#include <QMenu>
#include <QStringList>

namespace pagewing::test {

// A desktop whose answers a test sets (a tray or none, X11 or Wayland) and which records what the windows
// asked of it instead of doing it (the notices and the states of the tray icon among them). Hiding,
// keep-on-top, the autostart entry and the keyring are the real ones: they stay inside the window and the
// test's private folders, and with no session bus (unit tests have none) the keyring leaves the password in
// the settings file.
class FakeDesktopIntegration : public DesktopIntegration {
public:
    bool HasTray() const override { return Tray; }
    void ShowTrayIcon(QWidget&, const QString&) override {}
    void RemoveTrayIcon() override {}
    void PopupMenu(QMenu& menu, QWidget&, QPoint globalPosition) override {
        PoppedUp = &menu;
        MenuPosition = globalPosition;
    }
    bool CanKeepOnTop() const override { return !Wayland; }
    bool CanPlaceWindows() const override { return !Wayland; }
    bool StartSystemMove(QWidget&) override {
        ++SystemMoves;
        return true;
    }
    void OpenHelp(const QString& fileName) override { Opened.append(fileName); }
    void OpenLink(const QString& address) override { Opened.append(address); }
    void Notify(const QString& title, const QString& body) override {
        Notices.append(QStringList{title, body}.join(u": "));
    }
    void SetConnectionState(Messenger::Connection state, const QString& words) override {
        States.append(state);
        StateWords.append(words);
    }

    bool Tray = false;
    // The compositor places the windows and ignores keep-on-top.
    bool Wayland = false;

    QMenu* PoppedUp = nullptr;
    QPoint MenuPosition;
    int SystemMoves = 0;
    QStringList Opened;
    QStringList Notices;
    QList<Messenger::Connection> States;
    QStringList StateWords;
};

} // namespace pagewing::test
