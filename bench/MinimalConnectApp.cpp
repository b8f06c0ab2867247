// The smallest Qt program that does what `pagewing --send` cannot do without: start, open one loopback TCP
// connection to the simulator, close it and end. The yardstick for the command's whole-process time.

#include <QCoreApplication>
#include <QTcpSocket>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const auto arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        return 2;
    }
    QTcpSocket socket;
    socket.connectToHost(arguments.at(1), arguments.at(2).toUShort());
    const bool connected = socket.waitForConnected(5000);
    socket.disconnectFromHost();
    return connected ? 0 : 1;
}
