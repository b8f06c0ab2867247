#pragma once

#include "service/MessageRecord.h"

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class QSqlError;
class QSqlQuery;

namespace pagewing {

// Every message Pagewing was asked to send, one row each, in an SQLite file that the window and the command
// line share. It is written with full synchronisation, so a row that was recorded survives a crash and a
// power cut; the window and a command writing at the same moment wait for each other instead of failing. A
// file that is no database, or a damaged one, is put aside and a new one started; where the file cannot be
// written, messages go out all the same, and Problem says so once.
class History : public QObject {
    Q_OBJECT

public:
    explicit History(QString fileName = DefaultFileName(), QObject* parent = nullptr);
    ~History() override;
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // $XDG_DATA_HOME/<product>/history.sqlite.
    static QString DefaultFileName();
    const QString& FileName() const { return File; }

    // Opens the file, making it and its folder where they are missing; false when there is no history now.
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
    std::optional<MessageRecord> Find(qint64 id);
    // The messages in a state, oldest first.
    QList<MessageRecord> InState(MessageState state);
    // Up to `limit` messages, newest first, older than the message `before` (0: from the newest), whose
    // number entry, sender, text or outcome holds `filter` (letter case ignored for ASCII).
    QList<MessageRecord> Newest(int limit, const QString& filter = {}, qint64 before = 0);
    bool Remove(qint64 id);

signals:
    void Added(qint64 id);
    void Changed(qint64 id);
    void Removed(qint64 id);
    // A line for the status list, without its date: the history could not be kept, or a broken file was put
    // aside.
    void Problem(const QString& message);

private:
    enum class Failure { None, Broken, Unwritable };

    Failure OpenFile();
    Failure Migrate();
    // Broken, or unwritable after saying so.
    Failure FailureOf(const QSqlError& error);
    void Close();
    // Moves a broken file, and its journal files, out of the way under a name that tells when.
    QString PutAside();
    // Puts a broken file aside, says so, and opens a new one.
    bool StartAfresh();
    // Runs a prepared statement; a broken file is put aside and a new one started, once, and the statement
    // run again there.
    bool Run(QSqlQuery& query, const QString& statement, const QVariantList& values);
    bool RunOnce(QSqlQuery& query, const QString& statement, const QVariantList& values);
    QList<MessageRecord> Select(const QString& condition, const QVariantList& values);
    void CannotWrite(const QString& reason);
    void Wrote();

    const QString File;
    const QString ConnectionName;
    QSqlDatabase Database;
    // Set after a write failed and said so; cleared by the next write that works, so a full disk gives one
    // line, not one per message.
    bool Failing = false;
};

} // namespace pagewing
