#pragma once

#include "platform/DesktopIntegration.h"

#include <QHash>
#include <QMenu>
#include <QStringList>

namespace pagewing::test {

// A desktop whose answers a test sets (a tray or none, keep-on-top and window placement honoured or not, a
// keyring or none) and which records what the windows asked of it instead of doing it. Its keyring is a map
// that answers at once. Hiding, keep-on-top and the autostart entry are the real ones: they stay inside the
// window and the test's private folders.
class FakeDesktopIntegration : public DesktopIntegration {
public:
    bool HasTray() const override { return Tray; }
    void ShowTrayIcon(QWidget&, const QString& toolTip) override { TrayToolTip = toolTip; }
    void RemoveTrayIcon() override { TrayToolTip.clear(); }
    void PopupMenu(QMenu& menu, QWidget&, QPoint globalPosition) override {
        PoppedUp = &menu;
        MenuPosition = globalPosition;
    }
    bool CanKeepOnTop() const override { return KeepOnTop; }
    bool CanPlaceWindows() const override { return PlaceWindows; }
    bool StartSystemMove(QWidget&) override {
        ++SystemMoves;
        return true;
    }
    void OpenHelp(const QString& fileName) override { Opened.append(fileName); }
    void OpenLink(const QString& address) override { Opened.append(address); }
    void Notify(const QString&, const QString& message) override { Notices.append(message); }
    void ReadPassword(const QString& account, Keyring::ReadHandler onRead) override {
        if (!KeyringAvailable) {
            onRead(Keyring::Outcome::Unavailable, {});
        } else {
            const auto found = Passwords.find(account);
            onRead(found == Passwords.end() ? Keyring::Outcome::NotFound : Keyring::Outcome::Done,
                   found == Passwords.end() ? QString() : *found);
        }
    }
    void WritePassword(const QString& account, const QString& password,
                       Keyring::WriteHandler onWritten) override {
        if (KeyringAvailable) {
            Passwords.insert(account, password);
        }
        onWritten(KeyringAvailable ? Keyring::Outcome::Done : Keyring::Outcome::Unavailable);
    }

    bool Tray = false;
    bool KeepOnTop = true;
    bool PlaceWindows = true;
    bool KeyringAvailable = true;
    QHash<QString, QString> Passwords;

    QString TrayToolTip;
    QMenu* PoppedUp = nullptr;
    QPoint MenuPosition;
    int SystemMoves = 0;
    QStringList Opened;
    QStringList Notices;
};

} // namespace pagewing::test
