#include "platform/QtSessionSocket.h"

#include "support/QtTestEnvironment.h"

#include <QTcpServer>
#include <QTest>

#include <string>
#include <vector>

using namespace pagewing;

namespace {

// A socket whose events are logged as they reach the session.
struct LoggedSocket {
    LoggedSocket() {
        Socket.SetEventHandlers({[this] { Log.emplace_back(u"connected"); },
                                 {},
                                 [this](const std::u16string& description) { Log.push_back(description); },
                                 [this] {
                                     Log.emplace_back(u"closed");
                                 }});
    }

    QtSessionSocket Socket;
    std::vector<std::u16string> Log;
};

} // namespace

class QtSessionSocketTest : public QObject {
    Q_OBJECT

private slots:
    // The session must never see an event in the middle of a call it made.
    void errorRaisedInsideACallArrivesOnTheNextTurn() {
        LoggedSocket logged;
        logged.Socket.Connect(u"127.0.0.1", u"0");
        QVERIFY(logged.Log.empty());
        QCoreApplication::processEvents();
        QCOMPARE(logged.Log, std::vector<std::u16string>{u"Invalid port number: 0"});
    }

    void errorHeldBackForAnEarlierConnectionIsDropped() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        LoggedSocket logged;
        logged.Socket.Connect(u"127.0.0.1", u"port");
        logged.Socket.Connect(u"127.0.0.1", QString::number(server.serverPort()).toStdU16String());
        QTRY_COMPARE(logged.Log, std::vector<std::u16string>{u"connected"});
        logged.Socket.Connect(u"127.0.0.1", u"70000");
        logged.Socket.Close();
        QCoreApplication::processEvents();
        QCOMPARE(logged.Log, std::vector<std::u16string>{u"connected"});
    }
};

PAGEWING_QTEST_MAIN(QtSessionSocketTest)
#include "QtSessionSocketTest.moc"
