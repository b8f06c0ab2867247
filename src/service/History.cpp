#include "service/History.h"

#include "platform/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <array>

namespace pagewing {

namespace {

// SQLite's primary result codes, as the low byte of the driver's native error code.
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;

// Each step brings a file from the version before it to its own, its place in the list plus one; a step is
// never changed once released, only followed by new ones.
const std::array<QStringList, 2> Migrations{{
    {QStringLiteral(
         "CREATE TABLE messages ("
         "id INTEGER PRIMARY KEY AUTOINCREMENT, made INTEGER NOT NULL, entry TEXT NOT NULL, "
         "destination TEXT NOT NULL, sender TEXT NOT NULL, text TEXT NOT NULL, origin TEXT NOT NULL, "
         "state TEXT NOT NULL, code INTEGER NOT NULL DEFAULT 0, detail TEXT NOT NULL DEFAULT '', "
         "changed INTEGER NOT NULL)"),
     QStringLiteral("CREATE INDEX messages_by_state ON messages (state)")},
    // Which run of the program a message belongs to; rows of older versions belong to none.
    {QStringLiteral("ALTER TABLE messages ADD COLUMN run TEXT NOT NULL DEFAULT ''")},
}};

const QString Columns =
    QStringLiteral("id, made, entry, destination, sender, text, origin, state, code, detail, changed, run");

bool IsBroken(const QSqlError& error) {
    const auto code = error.nativeErrorCode().toInt() & 0xFF;
    return code == SqliteCorrupt || code == SqliteNotADatabase;
}

QDateTime FromMilliseconds(const QVariant& value) {
    return QDateTime::fromMSecsSinceEpoch(value.toLongLong());
}

MessageRecord RecordAt(const QSqlQuery& query) {
    MessageRecord record;
    record.Id = query.value(0).toLongLong();
    record.Made = FromMilliseconds(query.value(1));
    record.Entry = query.value(2).toString();
    record.Destination = query.value(3).toString();
    record.Sender = query.value(4).toString();
    record.Text = query.value(5).toString();
    record.Origin = OriginNamed(query.value(6).toString()).value_or(MessageOrigin::Window);
    // A state this version does not know came from a newer one; it is at least not something to send.
    record.State = StateNamed(query.value(7).toString()).value_or(MessageState::Unknown);
    record.Code = query.value(8).toInt();
    record.Detail = query.value(9).toString();
    record.Changed = FromMilliseconds(query.value(10));
    record.Run = query.value(11).toString();
    return record;
}

// Qt binds a null string as NULL; every text column holds text, if only an empty one.
QVariant Text(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QString LikePattern(QString filter) {
    filter.replace(u'\\', QStringLiteral("\\\\"));
    filter.replace(u'%', QStringLiteral("\\%"));
    filter.replace(u'_', QStringLiteral("\\_"));
    return u'%' + filter + u'%';
}

} // namespace

History::History(QString fileName, QObject* parent)
    : QObject(parent)
    , File(std::move(fileName))
    , ConnectionName(QStringLiteral("history-%1").arg(reinterpret_cast<quintptr>(this))) {}

History::~History() {
    Close();
}

QString History::DefaultFileName() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/' + ProductInfo::Name +
           QStringLiteral("/history.sqlite");
}

bool History::IsOpen() const {
    return Database.isOpen();
}

bool History::Open() {
    if (IsOpen()) {
        return true;
    }
    const auto folder = QFileInfo(File).absolutePath();
    // The messages are nobody else's business: a folder made here is the owner's alone.
    if (!QFileInfo(folder).isDir() &&
        !(QDir().mkpath(folder) &&
          QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))) {
        CannotWrite(tr("%1 cannot be made").arg(folder));
        return false;
    }
    switch (OpenFile()) {
    case Failure::None:
        return true;
    case Failure::Broken:
        return StartAfresh();
    case Failure::Unwritable:
        break;
    }
    Close();
    return false;
}

bool History::StartAfresh() {
    const auto aside = PutAside();
    emit Problem(tr("Message history was damaged: kept as %1, a new one started").arg(aside));
    if (OpenFile() != Failure::None) {
        Close();
        return false;
    }
    return true;
}

void History::MarkWaiting(bool waiting) {
    QFile mark(File + QStringLiteral("-outbox"));
    if (waiting) {
        mark.open(QIODevice::WriteOnly);
    } else {
        mark.remove();
    }
}

bool History::IsMarkedWaiting() const {
    return QFileInfo::exists(File + QStringLiteral("-outbox"));
}

History::Failure History::OpenFile() {
    // Made here with the owner's permissions alone; SQLite gives its journal files the same.
    QFile file(File);
    if (!file.exists() && !file.open(QIODevice::WriteOnly)) {
        CannotWrite(file.errorString());
        return Failure::Unwritable;
    }
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    Database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ConnectionName);
    Database.setDatabaseName(File);
    if (!Database.open()) {
        CannotWrite(Database.lastError().text());
        return Failure::Unwritable;
    }
    QSqlQuery query(Database);
    for (const auto* pragma :
         {"PRAGMA busy_timeout = 10000", "PRAGMA journal_mode = WAL", "PRAGMA synchronous = FULL"}) {
        if (!query.exec(QLatin1String(pragma))) {
            return FailureOf(query.lastError());
        }
    }
    return Migrate();
}

History::Failure History::Migrate() {
    QSqlQuery query(Database);
    // Immediate: a second program opening the same new file waits rather than migrating it twice.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")) ||
        !query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        return FailureOf(query.lastError());
    }
    const auto version = query.value(0).toInt();
    if (version > static_cast<int>(Migrations.size())) {
        query.exec(QStringLiteral("ROLLBACK"));
        CannotWrite(tr("it was written by a newer version of %1").arg(ProductInfo::Name));
        return Failure::Unwritable;
    }
    for (auto step = static_cast<std::size_t>(version); step < Migrations.size(); ++step) {
        for (const auto& statement : Migrations.at(step)) {
            if (!query.exec(statement)) {
                const auto error = query.lastError();
                query.exec(QStringLiteral("ROLLBACK"));
                return FailureOf(error);
            }
        }
    }
    query.exec(QStringLiteral("PRAGMA user_version = %1").arg(Migrations.size()));
    return query.exec(QStringLiteral("COMMIT")) ? Failure::None : FailureOf(query.lastError());
}

History::Failure History::FailureOf(const QSqlError& error) {
    if (IsBroken(error)) {
        return Failure::Broken;
    }
    CannotWrite(error.text());
    return Failure::Unwritable;
}

void History::Close() {
    if (Database.isValid()) {
        Database.close();
        Database = QSqlDatabase();
        QSqlDatabase::removeDatabase(ConnectionName);
    }
}

QString History::PutAside() {
    Close();
    const auto aside = File + QStringLiteral(".broken-") +
                       QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    for (const auto* journal : {"", "-wal", "-shm"}) {
        QFile::rename(File + QLatin1String(journal), aside + QLatin1String(journal));
    }
    return aside;
}

std::optional<qint64> History::Add(const MessageRecord& record) {
    if (!Open()) {
        return std::nullopt;
    }
    QSqlQuery query(Database);
    if (!Run(query,
             QStringLiteral(
                 "INSERT INTO messages (made, entry, destination, sender, text, origin, state, code, "
                 "detail, changed, run) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {record.Made.toMSecsSinceEpoch(), Text(record.Entry), Text(record.Destination),
              Text(record.Sender), Text(record.Text), OriginName(record.Origin), StateName(record.State),
              record.Code, Text(record.Detail), record.Changed.toMSecsSinceEpoch(), Text(record.Run)})) {
        return std::nullopt;
    }
    const auto id = query.lastInsertId().toLongLong();
    emit Added(id);
    return id;
}

bool History::Update(const MessageRecord& record, std::optional<MessageState> from) {
    if (!IsOpen() || record.Id <= 0) {
        return false;
    }
    QSqlQuery query(Database);
    QVariantList values{StateName(record.State), record.Code, Text(record.Detail),
                        record.Changed.toMSecsSinceEpoch(), record.Id};
    auto statement =
        QStringLiteral("UPDATE messages SET state = ?, code = ?, detail = ?, changed = ? WHERE id = ?");
    if (from) {
        statement += QStringLiteral(" AND state = ?");
        values.append(StateName(*from));
    }
    if (!Run(query, statement, values) || query.numRowsAffected() != 1) {
        return false;
    }
    emit Changed(record.Id);
    return true;
}

std::optional<MessageRecord> History::Find(qint64 id) {
    const auto found = Select(QStringLiteral("WHERE id = ?"), {id});
    return found.isEmpty() ? std::nullopt : std::optional(found.constFirst());
}

QList<MessageRecord> History::InState(MessageState state) {
    return Select(QStringLiteral("WHERE state = ? ORDER BY id"), {StateName(state)});
}

QList<MessageRecord> History::Newest(int limit, const QString& filter, qint64 before) {
    QString condition = QStringLiteral("WHERE (? = 0 OR id < ?)");
    QVariantList values{before, before};
    if (!filter.isEmpty()) {
        condition +=
            QStringLiteral(" AND (entry LIKE ? ESCAPE '\\' OR destination LIKE ? ESCAPE '\\' OR sender "
                           "LIKE ? ESCAPE '\\' OR text LIKE ? ESCAPE '\\' OR state LIKE ? ESCAPE '\\' "
                           "OR detail LIKE ? ESCAPE '\\')");
        for (int column = 0; column < 6; ++column) {
            values.append(LikePattern(filter));
        }
    }
    values.append(limit);
    return Select(condition + QStringLiteral(" ORDER BY id DESC LIMIT ?"), values);
}

bool History::Remove(qint64 id) {
    if (!IsOpen()) {
        return false;
    }
    QSqlQuery query(Database);
    if (!Run(query, QStringLiteral("DELETE FROM messages WHERE id = ?"), {id}) ||
        query.numRowsAffected() != 1) {
        return false;
    }
    emit Removed(id);
    return true;
}

QList<MessageRecord> History::Select(const QString& condition, const QVariantList& values) {
    QList<MessageRecord> records;
    if (!Open()) {
        return records;
    }
    QSqlQuery query(Database);
    query.setForwardOnly(true);
    if (Run(query, QStringLiteral("SELECT %1 FROM messages %2").arg(Columns, condition), values)) {
        while (query.next()) {
            records.append(RecordAt(query));
        }
    }
    return records;
}

bool History::Run(QSqlQuery& query, const QString& statement, const QVariantList& values) {
    if (RunOnce(query, statement, values)) {
        Wrote();
        return true;
    }
    const auto error = query.lastError();
    if (!IsBroken(error)) {
        CannotWrite(error.text());
        return false;
    }
    query = QSqlQuery();
    if (!StartAfresh()) {
        return false;
    }
    query = QSqlQuery(Database);
    return RunOnce(query, statement, values);
}

bool History::RunOnce(QSqlQuery& query, const QString& statement, const QVariantList& values) {
    if (!query.prepare(statement)) {
        return false;
    }
    for (const auto& value : values) {
        query.addBindValue(value);
    }
    return query.exec();
}

void History::CannotWrite(const QString& reason) {
    if (!std::exchange(Failing, true)) {
        emit Problem(tr("Message history cannot be kept in %1 (%2): messages are sent without a record")
                         .arg(File, reason));
    }
}

void History::Wrote() {
    Failing = false;
}

} // namespace pagewing
