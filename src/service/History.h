#pragma once

#include "service/MessageRecord.h"

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <chrono>
#include <optional>

class QSqlError;
class QSqlQuery;

namespace pagewing {

// Every message Pagewing was asked to send, one row each, in an SQLite file that the window and the command
// line share. It is written with full synchronisation, so a row that was recorded survives a crash and a
// power cut; the window and a command writing at the same moment wait for each other, a second at most,
// instead of failing. The file lives in a folder of the user's own that nobody else can write, is never
// reached through a link, and it and its journal files are the owner's alone. A file that is no database, or
// a damaged one, is put aside and a new one started; where the file cannot be written, messages go out all
// the same, and Problem says so once for each spell of failures.
class History : public QObject {
    Q_OBJECT

public:
    // Reading alone, for a command that prints the history: the file is neither made, changed nor migrated,
    // and one that cannot be written (a read-only folder, a newer version's file) is read as it is.
    enum class Access { ReadWrite, ReadOnly };
    // The longest a statement waits for another program's lock on the file.
    static constexpr std::chrono::milliseconds LockWait{1000};

    explicit History(QString fileName = DefaultFileName(), Access access = Access::ReadWrite,
                     QObject* parent = nullptr);
    ~History() override;
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // $XDG_DATA_HOME/<product>/history.sqlite.
    static QString DefaultFileName();
    const QString& FileName() const { return File; }

    // Opens the file, making it and its folder where they are missing and the access allows; false when there
    // is no history now.
    bool Open();
    bool IsOpen() const;

    // A mark beside the file, set while messages of the window may be waiting or on their way, so that a
    // start opens the file at once only when there is something to take up.
    void MarkWaiting(bool waiting);
    bool IsMarkedWaiting() const;

    // Records a new message; its id, or none when it could not be recorded.
    std::optional<qint64> Add(const MessageRecord& record);
    // Records a message's state, code, detail and time of change. With `from`, only while the stored state is
    // still that one; false when it was not, or the row could not be written.
    bool Update(const MessageRecord& record, std::optional<MessageState> from = std::nullopt);
    // The message, where the filter (see Newest) lets it through.
    std::optional<MessageRecord> Find(qint64 id, const QString& filter = {});
    // The messages in a state, oldest first.
    QList<MessageRecord> InState(MessageState state);
    // Up to `limit` messages, newest first, older than the message `before` (0: from the newest), whose
    // number entry, destination, sender, text, state or detail holds `filter`, letter case ignored in every
    // script ("émile" finds "Émile").
    QList<MessageRecord> Newest(int limit, const QString& filter = {}, qint64 before = 0);
    // How many messages the filter lets through.
    qint64 Count(const QString& filter = {});
    bool Remove(qint64 id);

signals:
    void Added(qint64 id);
    void Changed(qint64 id);
    void Removed(qint64 id);
    // A line for the status list, without its date: the history could not be kept or read, or a broken file
    // was put aside.
    void Problem(const QString& message);

private:
    enum class Failure { None, Broken, Unwritable };

    bool Writable() const { return Mode == Access::ReadWrite; }
    // The folder is the user's alone (made so where it is missing) and no name of the history's files is a
    // link; false after saying why not.
    bool Settle();
    Failure OpenFile();
    Failure OpenReadOnly();
    // Opens the connection and gives it the filter's function; false after saying why not.
    bool Connect(const QString& name, const QString& options);
    Failure Migrate();
    // Broken, or unwritable after saying so.
    Failure FailureOf(const QSqlError& error);
    void Close();
    // Moves a broken file, and its journal files, out of the way under a name that tells when.
    QString PutAside();
    // Puts a broken file aside, says so, and opens a new one.
    bool StartAfresh();
    // Runs a prepared statement; a broken file that may be written is put aside and a new one started, once,
    // and the statement run again there.
    bool Run(QSqlQuery& query, const QString& statement, const QVariantList& values);
    bool RunOnce(QSqlQuery& query, const QString& statement, const QVariantList& values);
    QList<MessageRecord> Select(const QString& condition, const QVariantList& values);
    void CannotUse(const QString& reason);
    void Wrote();

    const QString File;
    const Access Mode;
    const QString ConnectionName;
    QSqlDatabase Database;
    // Set after the file failed and said so; cleared by the next write that works, so a full disk or a lock
    // held for minutes gives one line, not one per message.
    bool Failing = false;
};

} // namespace pagewing
