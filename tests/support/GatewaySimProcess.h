#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace pagewing::test {

// The gateway simulator as a separate process on loopback, on ports the system chooses unless the test names
// one. The simulator's path comes from the build (PAGEWING_GATEWAY_SIM).
class GatewaySimProcess {
public:
    explicit GatewaySimProcess(QStringList options = {}, quint16 port = 0) {
        Process.start(QStringLiteral(PAGEWING_GATEWAY_SIM),
                      options << QStringLiteral("--listen") << QStringLiteral("127.0.0.1:%1").arg(port));
    }

    ~GatewaySimProcess() { Stop(); }
    GatewaySimProcess(const GatewaySimProcess&) = delete;
    GatewaySimProcess& operator=(const GatewaySimProcess&) = delete;

    // Waits for the announcement of both servers; false when the simulator did not start.
    bool WaitUntilListening() {
        static const QRegularExpression announcement(
            QStringLiteral("authorization server on ([^ ]+):(\\d+),"));
        for (int waited = 0; waited < 10000; waited += 20) {
            const auto match = announcement.match(Notes().join(u'\n'));
            if (match.hasMatch()) {
                Host = match.captured(1);
                Port = match.captured(2);
                return true;
            }
            if (Process.state() == QProcess::NotRunning) {
                return false;
            }
            Process.waitForReadyRead(20);
        }
        return false;
    }

    // The lines the simulator printed for the SMS requests it received.
    QStringList SmsLines() {
        // Takes in whatever the pipe holds, also when no event loop has run since it was written.
        while (Process.waitForReadyRead(0)) {
        }
        Output += QString::fromUtf8(Process.readAllStandardOutput());
        return Output.split(u'\n', Qt::SkipEmptyParts);
    }

    void Stop() {
        Process.kill();
        Process.waitForFinished();
    }

    QString Host;
    QString Port;

private:
    // The lines on standard error so far, the announcement among them.
    QStringList Notes() {
        Errors += QString::fromUtf8(Process.readAllStandardError());
        return Errors.split(u'\n', Qt::SkipEmptyParts);
    }

    QProcess Process;
    QString Errors;
    QString Output;
};

} // namespace pagewing::test
