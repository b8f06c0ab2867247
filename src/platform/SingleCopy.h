#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

namespace pagewing {

// Lets one copy of the program run per user. The lock is a lock file in the user's runtime folder, which a
// copy that crashed does not leave held; beside it a local socket lets a second start ask the running copy
// to bring its window to the front.
class SingleCopy : public QObject {
    Q_OBJECT

public:
    explicit SingleCopy(QObject* parent = nullptr);

    // True when this is the only copy; it then listens for later starts.
    bool TryAcquire();
    // Asks the running copy to show its window; waits briefly for it to take the request.
    void AskRunningCopyToShow() const;

    static QString LockFileName();

signals:
    void ShowRequested();

private:
    static QString SocketName();

    QLockFile Lock;
    QLocalServer Server;
};

} // namespace pagewing
