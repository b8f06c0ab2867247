#include "platform/QtSessionSocket.h"

#include "support/QtTestEnvironment.h"

#include <QTcpServer>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

using namespace pagewing;

// The session must never see an event in the middle of a call it made, nor one of a connection it left.
class QtSessionSocketTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        Log.clear();
        Socket = std::make_unique<QtSessionSocket>();
        Socket->SetEventHandlers({[this] { Log.emplace_back(u"connected"); },
                                  {},
                                  [this](const std::u16string& description) { Log.push_back(description); },
                                  [this] {
                                      Log.emplace_back(u"closed");
                                  }});
    }

    void errorRaisedInsideACallArrivesOnTheNextTurn() {
        Socket->Connect(u"127.0.0.1", u"0");
        QVERIFY(Log.empty());
        QCoreApplication::processEvents();
        QCOMPARE(Log, std::vector<std::u16string>{u"Invalid port number: 0"});
    }

    void errorHeldBackForAnEarlierConnectionIsDropped() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        Socket->Connect(u"127.0.0.1", u"port");
        Socket->Connect(u"127.0.0.1", QString::number(server.serverPort()).toStdU16String());
        QTRY_COMPARE(Log, std::vector<std::u16string>{u"connected"});
        Socket->Connect(u"127.0.0.1", u"70000");
        Socket->Close();
        QCoreApplication::processEvents();
        QCOMPARE(Log, std::vector<std::u16string>{u"connected"});
    }

private:
    std::unique_ptr<QtSessionSocket> Socket;
    std::vector<std::u16string> Log;
};

PAGEWING_QTEST_MAIN(QtSessionSocketTest)
#include "QtSessionSocketTest.moc"
