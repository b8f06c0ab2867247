#include "platform/Keyring.h"

#include "platform/ProductInfo.h"

#include <QTimer>

#include <qt6keychain/keychain.h>

namespace pagewing {

namespace {

Keyring::Outcome OutcomeOf(const QKeychain::Job& job) {
    switch (job.error()) {
    case QKeychain::NoError:
        return Keyring::Outcome::Done;
    case QKeychain::EntryNotFound:
        return Keyring::Outcome::NotFound;
    default:
        // No backend, access refused, the keyring left locked: all mean the password cannot live there now.
        return Keyring::Outcome::Unavailable;
    }
}

// Answers on the next turn of the event loop, as a job would.
void AnswerLater(QObject* context, std::function<void()> answer) {
    QTimer::singleShot(0, context, std::move(answer));
}

} // namespace

Keyring::Keyring(QObject* parent)
    : QObject(parent) {}

void Keyring::ReadPassword(const QString& account, ReadHandler onRead) {
    if (!HasSessionBus()) {
        AnswerLater(this, [onRead = std::move(onRead)] { onRead(Outcome::Unavailable, {}); });
        return;
    }
    auto* job = new QKeychain::ReadPasswordJob(ProductInfo::Name, this);
    job->setKey(account);
    connect(job, &QKeychain::Job::finished, this, [onRead = std::move(onRead)](QKeychain::Job* finished) {
        const auto* read = static_cast<QKeychain::ReadPasswordJob*>(finished);
        onRead(OutcomeOf(*read), read->textData());
    });
    job->start();
}

void Keyring::WritePassword(const QString& account, const QString& password, WriteHandler onWritten) {
    if (!HasSessionBus()) {
        AnswerLater(this, [onWritten = std::move(onWritten)] { onWritten(Outcome::Unavailable); });
        return;
    }
    auto* job = new QKeychain::WritePasswordJob(ProductInfo::Name, this);
    job->setKey(account);
    job->setTextData(password);
    connect(
        job, &QKeychain::Job::finished, this,
        [onWritten = std::move(onWritten)](QKeychain::Job* finished) { onWritten(OutcomeOf(*finished)); });
    job->start();
}

bool Keyring::HasSessionBus() {
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
}

} // namespace pagewing
