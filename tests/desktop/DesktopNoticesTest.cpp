// Runs on a private session bus (run-on-display.sh bus), where the test serves the notification service.

#include "desktop/DesktopNotices.h"

#include "support/QtTestEnvironment.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

using namespace pagewing;

// The desktop's notification service as far as a notice needs it, on a connection of its own.
class FakeNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    QStringList Notices;
    QStringList Capabilities{QStringLiteral("actions"), QStringLiteral("body")};

    void Signal(const char* name, const QVariantList& arguments) {
        auto message =
            QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                       QStringLiteral("org.freedesktop.Notifications"), QLatin1String(name));
        message.setArguments(arguments);
        QDBusConnection(QStringLiteral("service")).send(message);
    }

public slots:
    QStringList GetCapabilities() { return Capabilities; }

    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int) {
        Notices.append(summary + u'|' + body + u'|' + actions.join(u','));
        return 7;
    }
};

class DesktopNoticesTest : public QObject {
    Q_OBJECT

private slots:
    void noticeGoesToTheServiceAndItsClickComesBack() {
        DesktopNotices notices;
        int unavailable = 0;
        // No service on the bus yet: the fallback runs, later.
        notices.Show(QStringLiteral("Lumenfold Pagewing"), QStringLiteral("Delivered"),
                     [&] { ++unavailable; });
        QCOMPARE(unavailable, 0);
        QTRY_COMPARE(unavailable, 1);

        FakeNotificationService service;
        auto bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("service"));
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.Notifications")));
        notices.Show(QStringLiteral("Lumenfold Pagewing"),
                     QStringLiteral("Delivered to Ann Lee +15551234567"), [&] { ++unavailable; });
        QTRY_COMPARE(
            service.Notices,
            QStringList{QStringLiteral("Lumenfold Pagewing|Delivered to Ann Lee +15551234567|default,Show")});

        // Another program's notice clicked, then ours, with the token that lets a Wayland window take focus.
        QSignalSpy clicked(&notices, &DesktopNotices::Clicked);
        service.Signal("ActionInvoked", {8u, QStringLiteral("default")});
        service.Signal("ActivationToken", {7u, QStringLiteral("token-7")});
        service.Signal("ActionInvoked", {7u, QStringLiteral("default")});
        QTRY_COMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toString(), QStringLiteral("token-7"));
        QCOMPARE(unavailable, 1);

        // A server's text in the body stays text: escaped for a service that renders markup, as it is for one
        // that does not.
        const auto hostile = QStringLiteral("Refused: <b>x</b> & <a href=\"http://e.test\">y</a>");
        notices.Show(QStringLiteral("T"), hostile, [] {});
        service.Capabilities.append(QStringLiteral("body-markup"));
        DesktopNotices markup;
        markup.Show(QStringLiteral("T"), hostile, [] {});
        QTRY_COMPARE(service.Notices.size(), 3);
        QCOMPARE(service.Notices.at(1), QStringLiteral("T|") + hostile + QStringLiteral("|default,Show"));
        QCOMPARE(service.Notices.at(2), QStringLiteral("T|Refused: &lt;b&gt;x&lt;/b&gt; &amp; &lt;a "
                                                       "href=\"http://e.test\"&gt;y&lt;/a&gt;|default,Show"));
    }
};

PAGEWING_QTEST_MAIN(DesktopNoticesTest)
#include "DesktopNoticesTest.moc"
