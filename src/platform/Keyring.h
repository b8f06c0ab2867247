#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace pagewing {

// The desktop's keyring (the Secret Service: GNOME Keyring, KWallet, KeePassXC), through QtKeychain. One
// entry per account, keyed by its ICQ number, so that a second account does not overwrite the first.
// Every call answers later, on the event loop.
//
// Without a session bus there is no keyring: QtKeychain would otherwise try to launch a bus of its own
// through X11, and with it a keyring daemon that nobody can unlock.
class Keyring : public QObject {
    Q_OBJECT

public:
    enum class Outcome { Done, NotFound, Unavailable };
    using ReadHandler = std::function<void(Outcome outcome, const QString& password)>;
    using WriteHandler = std::function<void(Outcome outcome)>;

    explicit Keyring(QObject* parent = nullptr);

    void ReadPassword(const QString& account, ReadHandler onRead);
    void WritePassword(const QString& account, const QString& password, WriteHandler onWritten);

    static bool HasSessionBus();
};

} // namespace pagewing
