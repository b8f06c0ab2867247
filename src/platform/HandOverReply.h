#pragma once

#include <QObject>

class QLocalSocket;

namespace pagewing {

enum class SendExit;

// The way back to a `pagewing --send` that handed its message to the running program: that the message is in
// the outbox, the status lines about it (with what each tells and where the message goes), that it went out,
// then how it ended and why. The command may ask to stop waiting. The reply deletes itself when the command
// goes away, so holders keep it in a QPointer.
class HandOverReply : public QObject {
    Q_OBJECT

public:
    // Takes the connection over as a child.
    explicit HandOverReply(QLocalSocket* connection, QObject* parent = nullptr);

    // The message is in the outbox: the command may hand over its next one.
    void Taken();
    void WriteReport(const QString& kind, const QString& destination, const QString& line);
    // The request is being written: from now on the message may arrive, whatever the command hears.
    void Sent();
    // The last word: the command prints nothing more about the message and ends it with this exit status and
    // reason. Anything after it is not sent.
    void Finish(SendExit outcome, const QString& reason);

signals:
    // The command stops waiting (its time-out passed) and wants the last word now.
    void WithdrawRequested();

private:
    void ReadRequest();

    QLocalSocket* const Connection;
    bool Finished = false;
};

} // namespace pagewing
