#pragma once

#include <QString>

#include <functional>

// Loads and saves the settings record in three groups: the window group (position, on top, start at logon,
// shown, About window at start, the Message History's size and columns), the login group (server, port, UIN,
// password, password command) and the telephone list. Every save writes its whole group. The store is an INI
// file in the user's configuration folder, readable by its owner only.
namespace pagewing::RegisteryLoadSave {

// Where the login group's password is kept: in the file; in the keyring, when the file holds none; or
// given by a password command, when the file's password, if any, is left as it is.
enum class PasswordPlace { SettingsFile, Keyring, Command };

void LoadWindowSettings();
void SaveWindowSettings();
void LoadLoginSettings();
void SaveLoginSettings(PasswordPlace place);
void LoadTelephoneList();
void SaveTelephoneList();

// The file that holds the settings.
QString StoreFileName();

// Reads this file from now on instead of the user's own store, for a script that keeps an account of its
// own. It is the script's: saves leave it as it is.
void UseStoreFile(const QString& fileName);
// False while another file than the user's own store is in use.
bool IsOwnStore();

// Told of every save that did not reach the file, with the file's name; a save is never silent about it.
void OnSaveFailed(std::function<void(const QString& fileName)> report);

} // namespace pagewing::RegisteryLoadSave
