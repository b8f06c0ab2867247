#pragma once

#include <QString>

#include <functional>

namespace pagewing {

class DesktopIntegration;

// The login group of the settings with the password where it belongs: in the desktop's keyring, and in the
// settings file only where there is no keyring. Each call ends by calling `done` once, with a line for the
// user or an empty text.
namespace AccountSettings {

inline const QString NoKeyringNote =
    QStringLiteral("Password kept in the settings file: no keyring is available");

// True when GlobalSettings hold all a login needs: server, port, ICQ number and password.
bool IsComplete();

// Loads server, port, ICQ number and password into GlobalSettings. A password still in the settings file is
// moved into the keyring, and taken out of the file only once the keyring holds it.
void Load(DesktopIntegration& desktop, std::function<void(const QString& note)> done);

// Saves the login group from GlobalSettings, the password into the keyring where there is one.
void Save(DesktopIntegration& desktop, std::function<void(const QString& note)> done);

// Reads the password for the stored ICQ number from the keyring into GlobalSettings, when it is there.
void ReadPassword(DesktopIntegration& desktop, std::function<void()> done);

} // namespace AccountSettings

} // namespace pagewing
