#pragma once

#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace pagewing {

// Notices through the desktop's notification service (org.freedesktop.Notifications on the session bus),
// which every desktop shows the same way whether or not it has a notification area. Each carries a default
// action, so that a click on it can bring the window back. Every call is asynchronous: a desktop without
// the service, or without a session bus, never makes the program wait. A body is plain text: where the
// service renders markup in bodies, the characters that make markup are escaped, so that a server's text
// stays text.
class DesktopNotices : public QObject {
    Q_OBJECT

public:
    explicit DesktopNotices(QObject* parent = nullptr);

    // Shows a notice; `unavailable` runs instead, later, when no notification service takes it.
    void Show(const QString& title, const QString& body, std::function<void()> unavailable);

signals:
    // A click on one of our notices; the activation token lets a Wayland window take the focus.
    void Clicked(const QString& activationToken);

private slots:
    void OnActionInvoked(uint id, const QString& action);
    void OnActivationToken(uint id, const QString& token);
    void OnClosed(uint id, uint reason);

private:
    struct Notice {
        QString Title;
        QString Body;
        std::function<void()> Unavailable;
    };

    // Asks the service once whether it renders markup; the notices wait for the answer.
    void AskCapabilities();
    void SendWaiting();
    void Send(const Notice& notice);

    std::vector<Notice> Waiting;
    // Whether bodies are markup to the service, once it has said.
    std::optional<bool> Markup;
    bool Asking = false;
    QSet<uint> Shown;
    bool Subscribed = false;
    // Sent by the service just before the action it belongs to.
    std::map<uint, QString> Tokens;
};

} // namespace pagewing
