#pragma once

#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <map>

namespace pagewing {

// Notices through the desktop's notification service (org.freedesktop.Notifications on the session bus),
// which every desktop shows the same way whether or not it has a notification area. Each carries a default
// action, so that a click on it can bring the window back. Every call is asynchronous: a desktop without
// the service, or without a session bus, never makes the program wait.
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
    QSet<uint> Shown;
    bool Subscribed = false;
    // Sent by the service just before the action it belongs to.
    std::map<uint, QString> Tokens;
};

} // namespace pagewing
