#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace QKeychain {
class Job;
}

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
    // What the keyring answered; each failure has a different way out for the user.
    enum class Outcome {
        Done,
        // The keyring answered, and holds no password for the account.
        NotFound,
        // No session bus to reach a keyring through (cron, ssh), or one that does not answer.
        NoSessionBus,
        // A session bus, but no keyring service on it.
        NoService,
        // The keyring is locked and stayed so, or it refused access.
        Locked,
        // Anything else, in the keyring's own words.
        Failed,
    };
    struct Answer {
        Outcome What = Outcome::Done;
        // What a read found.
        QString Password;
        // The keyring's own words for a failure.
        QString Error;
    };
    using Handler = std::function<void(const Answer& answer)>;

    explicit Keyring(QObject* parent = nullptr);

    void ReadPassword(const QString& account, Handler onRead);
    void WritePassword(const QString& account, const QString& password, Handler onWritten);

    static bool HasSessionBus();

private:
    // True, and the answer given, when there is no session bus to ask through.
    bool AnsweredWithoutBus(Handler& onAnswer);
    void Finish(QKeychain::Job& job, const QString& account, Handler onAnswer);
};

} // namespace pagewing
