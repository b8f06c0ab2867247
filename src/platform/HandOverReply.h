#pragma once

#include <QObject>
#include <QPointer>

class QLocalSocket;

namespace pagewing {

enum class SendExit;

// The way back to a `pagewing --send` that handed its message to the running program: the status lines of
// its login and answer, then how it ended. It deletes itself when the command goes away, so holders keep it
// in a QPointer.
class HandOverReply : public QObject {
    Q_OBJECT

public:
    // Takes the connection over as a child.
    explicit HandOverReply(QLocalSocket* connection, QObject* parent = nullptr);

    void WriteLine(const QString& line);
    // The request went out: from now on the message may arrive, whatever the command hears.
    void Sent();
    // The last word: the command prints nothing more and exits with it.
    void Finish(SendExit outcome);

private:
    QLocalSocket* const Connection;
};

} // namespace pagewing
