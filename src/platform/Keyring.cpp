#include "platform/Keyring.h"

#include "platform/ProductInfo.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace pagewing {

namespace {

using Attributes = QMap<QString, QString>;
using ObjectPaths = QList<QDBusObjectPath>;

// QtKeychain's error, read together with what the Secret Service says of the account's entries.
Keyring::Outcome OutcomeOf(QKeychain::Error error,
                           const QDBusPendingReply<ObjectPaths, ObjectPaths>& search) {
    if (search.isValid() && !search.argumentAt<1>().isEmpty()) {
        return Keyring::Outcome::Locked;
    }
    switch (error) {
    case QKeychain::EntryNotFound:
        return Keyring::Outcome::NotFound;
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
        return Keyring::Outcome::Locked;
    case QKeychain::NoBackendAvailable:
        return Keyring::Outcome::NoService;
    default:
        break;
    }
    switch (search.isError() ? search.error().type() : QDBusError::NoError) {
    case QDBusError::Disconnected:
    case QDBusError::NoServer:
        return Keyring::Outcome::NoSessionBus;
    case QDBusError::ServiceUnknown:
        return Keyring::Outcome::NoService;
    default:
        return Keyring::Outcome::Failed;
    }
}

QDBusPendingCall SearchEntries(const QString& account) {
    qDBusRegisterMetaType<Attributes>();
    auto search = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets"),
        QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("SearchItems"));
    search << QVariant::fromValue(
        Attributes{{QStringLiteral("user"), account}, {QStringLiteral("server"), ProductInfo::Name}});
    return QDBusConnection::sessionBus().asyncCall(search);
}

} // namespace

Keyring::Keyring(QObject* parent)
    : QObject(parent) {}

void Keyring::ReadPassword(const QString& account, Handler onRead) {
    if (AnsweredWithoutBus(onRead)) {
        return;
    }
    auto* job = new QKeychain::ReadPasswordJob(ProductInfo::Name, this);
    job->setKey(account);
    Finish(*job, account, std::move(onRead));
}

void Keyring::WritePassword(const QString& account, const QString& password, Handler onWritten) {
    if (AnsweredWithoutBus(onWritten)) {
        return;
    }
    auto* job = new QKeychain::WritePasswordJob(ProductInfo::Name, this);
    job->setKey(account);
    job->setTextData(password);
    Finish(*job, account, std::move(onWritten));
}

bool Keyring::AnsweredWithoutBus(Handler& onAnswer) {
    if (HasSessionBus()) {
        return false;
    }
    // On the next turn of the event loop, as a job would answer.
    QTimer::singleShot(0, this, [onAnswer = std::move(onAnswer)] {
        onAnswer({Outcome::NoSessionBus, {}, {}});
    });
    return true;
}

void Keyring::Finish(QKeychain::Job& job, const QString& account, Handler onAnswer) {
    connect(&job, &QKeychain::Job::finished, this,
            [this, account, onAnswer = std::move(onAnswer)](QKeychain::Job* finished) {
                if (finished->error() == QKeychain::NoError) {
                    const auto* read = qobject_cast<QKeychain::ReadPasswordJob*>(finished);
                    onAnswer({Outcome::Done, read ? read->textData() : QString(), {}});
                    return;
                }
                // A read from a locked keyring that cannot ask for its password (no display), or whose
                // question was dismissed, answers "Entry not found"; the Secret Service still lists the
                // account's entries in locked collections apart.
                auto* watcher = new QDBusPendingCallWatcher(SearchEntries(account), this);
                connect(watcher, &QDBusPendingCallWatcher::finished, this,
                        [onAnswer, error = finished->error(),
                         text = finished->errorString()](QDBusPendingCallWatcher* searched) {
                            searched->deleteLater();
                            onAnswer({OutcomeOf(error, *searched), {}, text});
                        });
            });
    job.start();
}

bool Keyring::HasSessionBus() {
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
}

} // namespace pagewing
