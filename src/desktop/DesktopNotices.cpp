#include "desktop/DesktopNotices.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>

#include <utility>

namespace pagewing {

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = Service;
const QString DefaultAction = QStringLiteral("default");

} // namespace

DesktopNotices::DesktopNotices(QObject* parent)
    : QObject(parent) {}

void DesktopNotices::Show(const QString& title, const QString& body, std::function<void()> unavailable) {
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        unavailable();
        return;
    }
    // Subscribed at the first notice, not at the start: most runs show none.
    if (!std::exchange(Subscribed, true)) {
        bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                    SLOT(OnActionInvoked(uint, QString)));
        bus.connect(Service, Path, Interface, QStringLiteral("ActivationToken"), this,
                    SLOT(OnActivationToken(uint, QString)));
        bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                    SLOT(OnClosed(uint, uint)));
    }
    Waiting.push_back({title, body, std::move(unavailable)});
    if (Markup) {
        SendWaiting();
    } else if (!std::exchange(Asking, true)) {
        AskCapabilities();
    }
}

void DesktopNotices::AskCapabilities() {
    const auto call =
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        const QDBusPendingReply<QStringList> reply = *finished;
        // No answer is asked again with the next notice: a service may start later.
        if (!reply.isError()) {
            Markup = reply.value().contains(QStringLiteral("body-markup"));
        }
        Asking = false;
        SendWaiting();
        finished->deleteLater();
    });
}

void DesktopNotices::SendWaiting() {
    for (const auto& notice : std::exchange(Waiting, {})) {
        Send(notice);
    }
}

void DesktopNotices::Send(const Notice& notice) {
    // Escaped also while the service has not said: a notice should show "&amp;" rather than run markup.
    auto body = notice.Body;
    if (Markup.value_or(true)) {
        body.replace(u'&', QStringLiteral("&amp;"))
            .replace(u'<', QStringLiteral("&lt;"))
            .replace(u'>', QStringLiteral("&gt;"));
    }
    auto call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    const auto application = QGuiApplication::desktopFileName();
    call << QCoreApplication::applicationName() << 0u << application << notice.Title << body
         << QStringList{DefaultAction, tr("Show")}
         << QVariantMap{{QStringLiteral("desktop-entry"), application}} << -1;
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, unavailable = notice.Unavailable](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> reply = *finished;
                if (reply.isError()) {
                    unavailable();
                } else {
                    Shown.insert(reply.value());
                }
                finished->deleteLater();
            });
}

void DesktopNotices::OnActionInvoked(uint id, const QString& action) {
    if (Shown.contains(id) && action == DefaultAction) {
        const auto token = Tokens.find(id);
        emit Clicked(token != Tokens.end() ? token->second : QString());
    }
}

void DesktopNotices::OnActivationToken(uint id, const QString& token) {
    if (Shown.contains(id)) {
        Tokens[id] = token;
    }
}

void DesktopNotices::OnClosed(uint id, uint) {
    Shown.remove(id);
    Tokens.erase(id);
}

} // namespace pagewing
