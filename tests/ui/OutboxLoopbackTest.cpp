// The outbox and the reconnect of the whole window against the simulator as a separate process: a server
// that goes away and comes back on the same port, one that drops a request unanswered, and the window itself
// killed with messages queued.

#include "service/History.h"
#include "service/Messenger.h"
#include "ui/LimitedTextEdit.h"
#include "ui/MainFrm.h"
#include "ui/StatusList.h"

#include "support/FakeDesktopIntegration.h"
#include "support/GatewaySimProcess.h"
#include "support/QtTestEnvironment.h"
#include "support/SeededSettings.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTcpServer>
#include <QTest>

#include <iostream>

using namespace pagewing;

namespace {

constexpr auto ChildVariable = "PAGEWING_OUTBOX_TEST_CHILD";

quint16 FreePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

// How many status lines say the text, about no message or after the number of one.
int Lines(const MainFrm& window, const QString& text) {
    const auto* status = window.findChild<StatusList*>(QStringLiteral("lstStatus"));
    int count = 0;
    for (int line = 0; line < status->Count(); ++line) {
        const auto& shown = status->Line(line);
        count += shown.endsWith(QStringLiteral("    ") + text) || shown.endsWith(QStringLiteral(": ") + text)
                     ? 1
                     : 0;
    }
    return count;
}

void Send(MainFrm& window, const QString& entry, const QString& message) {
    window.findChild<QComboBox*>(QStringLiteral("cmbMobileNumber"))->setEditText(entry);
    window.findChild<LimitedTextEdit*>(QStringLiteral("txtSMS"))->setPlainText(message);
    window.findChild<QAbstractButton*>(QStringLiteral("cmdSendMessage"))->click();
}

// The program that the kill test kills: its window, three messages queued while no server answers.
int RunChild(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(PAGEWING_PRODUCT_NAME));
    QApplication::setOrganizationName(QStringLiteral(PAGEWING_PRODUCT_NAME));
    test::FakeDesktopIntegration desktop;
    MainFrm window(desktop);
    window.Load();
    for (const auto* number : {"5550101", "5550102", "5550103"}) {
        Send(window, QLatin1String(number), QStringLiteral("Queued before the kill"));
    }
    std::cout << Lines(window, QStringLiteral("Queued: the message will be sent when connected"))
              << std::endl;
    return QApplication::exec();
}

// A window of the program's, logging in to the simulator.
struct Window {
    explicit Window(const QString& host, const QString& port) {
        test::SeedAccount(host, port);
        Frame.Load();
    }

    test::FakeDesktopIntegration Desktop;
    MainFrm Frame{Desktop};
};

} // namespace

class OutboxLoopbackTest : public QObject {
    Q_OBJECT

private slots:
    void queuedMessageGoesOutOnceWhenTheServerIsBack() {
        const auto port = FreePort();
        auto leaving = std::make_unique<test::GatewaySimProcess>(QStringList{"--close-after-ready"}, port);
        QVERIFY(leaving->WaitUntilListening());
        Window run(QStringLiteral("127.0.0.1"), QString::number(port));
        auto& window = run.Frame;
        QTRY_VERIFY_WITH_TIMEOUT(
            Lines(window, QStringLiteral("The server closed the connection, must reconnect")), 10000);
        leaving.reset();
        Send(window, QStringLiteral("Ann 5550101"), QStringLiteral("After the restart"));
        QCOMPARE(Lines(window, QStringLiteral("Queued: the message will be sent when connected")), 1);
        test::GatewaySimProcess back({}, port);
        QVERIFY(back.WaitUntilListening());
        QTRY_VERIFY_WITH_TIMEOUT(Lines(window, QStringLiteral("Message successfully delivered")), 30000);
        QCOMPARE(back.SmsLines(), QStringList{"SMS to 5550101: :\\r\\nAfter the restart"});
    }

    void requestDroppedUnansweredIsNotSentAgain() {
        test::GatewaySimProcess dropping({QStringLiteral("--drop-after-request")});
        QVERIFY(dropping.WaitUntilListening());
        Window run(dropping.Host, dropping.Port);
        auto& window = run.Frame;
        QTRY_VERIFY_WITH_TIMEOUT(Lines(window, QStringLiteral("Ready to send Message")), 10000);
        Send(window, QStringLiteral("5550101"), QStringLiteral("Once"));
        QTRY_VERIFY_WITH_TIMEOUT(Lines(window, QStringLiteral("Ready to send Message")) == 2, 10000);
        QVERIFY(Lines(window,
                      QStringLiteral("5550101: The message may not have been delivered: the connection "
                                     "was lost before the SMS gateway answered; Message History can send it "
                                     "again")));
        QCOMPARE(window.Messages().Records().Newest(1).value(0).State, MessageState::Unknown);
        QCOMPARE(dropping.SmsLines().size(), 1);
    }

    void killedWindowSendsItsQueueOnceAfterARestart() {
        const auto port = FreePort();
        test::SeedAccount(QStringLiteral("127.0.0.1"), QString::number(port));
        QProcess killed;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(ChildVariable), QStringLiteral("1"));
        killed.setProcessEnvironment(environment);
        killed.start(QCoreApplication::applicationFilePath(), QStringList{});
        QVERIFY(killed.waitForReadyRead(20000));
        QCOMPARE(killed.readAllStandardOutput().trimmed(), QByteArray("3"));
        killed.kill();
        QVERIFY(killed.waitForFinished());

        test::GatewaySimProcess simulator({}, port);
        QVERIFY(simulator.WaitUntilListening());
        Window run(QStringLiteral("127.0.0.1"), QString::number(port));
        auto& window = run.Frame;
        emit window.StartedUp();
        QTRY_COMPARE_WITH_TIMEOUT(Lines(window, QStringLiteral("Message successfully delivered")), 3, 20000);
        QCOMPARE(simulator.SmsLines(), (QStringList{"SMS to 5550101: :\\r\\nQueued before the kill",
                                                    "SMS to 5550102: :\\r\\nQueued before the kill",
                                                    "SMS to 5550103: :\\r\\nQueued before the kill"}));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet(ChildVariable)) {
        return RunChild(argc, argv);
    }
    pagewing::test::IsolateUserFolders();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(PAGEWING_PRODUCT_NAME));
    QApplication::setOrganizationName(QStringLiteral(PAGEWING_PRODUCT_NAME));
    OutboxLoopbackTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "OutboxLoopbackTest.moc"
