#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace pagewing {

class Keyring;

// The login group of the settings with the password where it belongs: in the desktop's keyring, and in the
// settings file only where there is no keyring; or, for unattended use, given by a password command, and
// then stored nowhere. Each call ends by calling `done` once.
namespace AccountSettings {

// Why GlobalSettings hold no password after a load or a read: where it was looked for, and what answered.
enum class PasswordGap {
    None,
    // The keyring cannot be reached: no session bus (cron, ssh), or no keyring service on it.
    NoSessionBus,
    NoKeyringService,
    KeyringLocked,
    // The keyring answered and holds no password for the ICQ number.
    NoKeyringEntry,
    KeyringFailed,
    CommandFailed,
};

struct Loaded {
    // A line for the status list, naming the way out; empty when all went well.
    QString Note;
    PasswordGap Gap = PasswordGap::None;
    // For a message of one's own: where the password was to come from and why it did not, as in "the
    // desktop's keyring cannot be reached from here (no session bus)". Empty when Gap is None.
    QString Reason;
    // A line for the status list when the settings' password command was not run because others could have
    // written it; empty otherwise.
    QString Ignored;

    // The lines for the status list, in order.
    QStringList Lines() const;
};
using Handler = std::function<void(const Loaded& loaded)>;

// True when GlobalSettings hold all a login needs: server, port, ICQ number and password.
bool IsComplete();

// From now on the password comes from this command, whatever the settings say; an empty text gives the
// settings' PasswordCommand back its say. The settings' command runs only from a file, in a folder, that the
// user (or root) owns and nobody else can write, as ssh trusts its configuration.
void UsePasswordCommand(const QString& command);

// Loads server, port, ICQ number and password into GlobalSettings. With a password command, the password is
// its first line of output. Otherwise a password still in the user's own settings file is moved into the
// keyring, and taken out of the file only once the keyring holds it; with none in the file, the keyring gives
// it. A file given with --settings keeps its password: it is the script's, not ours to change.
void Load(Keyring& keyring, Handler done);

// Saves the login group from GlobalSettings, the password into the keyring where there is one. A password
// that a command gave is stored nowhere.
void Save(Keyring& keyring, std::function<void(const QString& note)> done);

// Reads the password for the stored ICQ number again, from the command or the keyring, into GlobalSettings.
// A password already held is kept when the keyring cannot give one.
void ReadPassword(Keyring& keyring, Handler done);

} // namespace AccountSettings

} // namespace pagewing
