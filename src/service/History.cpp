#include "service/History.h"

#include "platform/OwnFiles.h"
#include "platform/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTimeZone>
#include <QUrl>
#include <QVariant>

#include <array>
#include <cerrno>

#include <sqlite3.h>

namespace pagewing {

namespace {

// SQLite's primary result codes, as the low byte of the driver's native error code.
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteReadOnly = 8;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteCantOpen = 14;
constexpr int SqliteNotADatabase = 26;

// The history's own name, those of the files SQLite keeps beside it, and the outbox's mark.
constexpr std::array<const char*, 5> Companions{"", "-wal", "-shm", "-journal", "-outbox"};

constexpr auto OwnerOnlyFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

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

int CodeOf(const QSqlError& error) {
    return error.nativeErrorCode().toInt() & 0xFF;
}

bool IsBroken(const QSqlError& error) {
    const auto code = CodeOf(error);
    return code == SqliteCorrupt || code == SqliteNotADatabase;
}

QString Reason(const QSqlError& error) {
    const auto code = CodeOf(error);
    return code == SqliteBusy || code == SqliteLocked
               ? History::tr("another program kept it locked for more than a second")
               : error.text();
}

QStringView Utf16(sqlite3_value* value) {
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(value));
    return text ? QStringView(text, sqlite3_value_bytes16(value) / 2) : QStringView();
}

// pagewing_contains(text, filter): Qt's case folding, which knows every script, where SQLite's LIKE folds
// ASCII letters alone.
void Contains(sqlite3_context* context, int, sqlite3_value** arguments) {
    sqlite3_result_int(context,
                       Utf16(arguments[0]).contains(Utf16(arguments[1]), Qt::CaseInsensitive) ? 1 : 0);
}

bool AddContainsFunction(const QSqlDatabase& database) {
    const auto handle = database.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return false;
    }
    auto* connection = *static_cast<sqlite3* const*>(handle.constData());
    return sqlite3_create_function_v2(connection, "pagewing_contains", 2,
                                      SQLITE_UTF16 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                      &Contains, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The filter's one meaning, for the table's query and for each row that arrives later alike.
QString FilterCondition(const QString& filter, QVariantList& values) {
    if (filter.isEmpty()) {
        return {};
    }
    QStringList tests;
    for (const auto* column : {"entry", "destination", "sender", "text", "state", "detail"}) {
        tests.append(QStringLiteral("pagewing_contains(%1, ?)").arg(QLatin1String(column)));
        values.append(filter);
    }
    return QStringLiteral(" AND (") + tests.join(QStringLiteral(" OR ")) + u')';
}

bool MakeFolder(const QString& folder) {
    return QDir().mkpath(QFileInfo(folder).absolutePath()) && QDir().mkdir(folder, OwnerOnlyFolder);
}

// In the zone's own terms rather than as local time, which asks the C library, and with it the file system,
// for the zone at every conversion: a long export spent most of its time there.
QDateTime FromMilliseconds(const QVariant& value, const QTimeZone& zone) {
    return QDateTime::fromMSecsSinceEpoch(value.toLongLong(), zone);
}

MessageRecord RecordAt(const QSqlQuery& query, const QTimeZone& zone) {
    MessageRecord record;
    record.Id = query.value(0).toLongLong();
    record.Made = FromMilliseconds(query.value(1), zone);
    record.Entry = query.value(2).toString();
    record.Destination = query.value(3).toString();
    record.Sender = query.value(4).toString();
    record.Text = query.value(5).toString();
    record.Origin = OriginNamed(query.value(6).toString()).value_or(MessageOrigin::Window);
    // A state this version does not know came from a newer one; it is at least not something to send.
    record.State = StateNamed(query.value(7).toString()).value_or(MessageState::Unknown);
    record.Code = query.value(8).toInt();
    record.Detail = query.value(9).toString();
    record.Changed = FromMilliseconds(query.value(10), zone);
    record.Run = query.value(11).toString();
    return record;
}

// Qt binds a null string as NULL; every text column holds text, if only an empty one.
QVariant Text(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

} // namespace

History::History(QString fileName, Access access, QObject* parent)
    : QObject(parent)
    , File(std::move(fileName))
    , Mode(access)
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
    if (!Settle()) {
        return false;
    }
    switch (Writable() ? OpenFile() : OpenReadOnly()) {
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

bool History::Settle() {
    const auto folder = QFileInfo(File).absolutePath();
    if (Writable() && !OwnFiles::Exists(folder) && !MakeFolder(folder)) {
        CannotUse(tr("%1 cannot be made").arg(folder));
        return false;
    }
    // As ssh has it: whoever can write the folder can plant a history that sends for them, or links that
    // turn our writes onto other files.
    auto distrust = OwnFiles::Distrust(folder, OwnFiles::Owners::User);
    for (const auto* companion : Companions) {
        const auto name = File + QLatin1String(companion);
        if (distrust.isEmpty() && OwnFiles::IsLink(name)) {
            distrust = tr("%1 is a link").arg(name);
        }
    }
    if (!distrust.isEmpty()) {
        CannotUse(distrust);
        return false;
    }
    return true;
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
    if (!IsOpen()) {
        return;
    }
    const auto mark = File + QStringLiteral("-outbox");
    if (!waiting) {
        QFile::remove(mark);
    } else if (!OwnFiles::Exists(mark)) {
        OwnFiles::CreatePrivate(mark);
    }
}

bool History::IsMarkedWaiting() const {
    return OwnFiles::Exists(File + QStringLiteral("-outbox"));
}

History::Failure History::OpenFile() {
    if (OwnFiles::Exists(File) ? !OwnFiles::KeepPrivate(File) : !OwnFiles::CreatePrivate(File)) {
        CannotUse(qt_error_string(errno));
        return Failure::Unwritable;
    }
    if (!Connect(File, QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(LockWait.count()))) {
        return Failure::Unwritable;
    }
    QSqlQuery query(Database);
    for (const auto* pragma : {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = FULL"}) {
        if (!query.exec(QLatin1String(pragma))) {
            return FailureOf(query.lastError());
        }
    }
    const auto migrated = Migrate();
    // SQLite gives its journal files the file's own permissions; they are made sure of all the same.
    for (const auto* journal : {"-wal", "-shm"}) {
        if (OwnFiles::Exists(File + QLatin1String(journal))) {
            OwnFiles::KeepPrivate(File + QLatin1String(journal));
        }
    }
    return migrated;
}

History::Failure History::OpenReadOnly() {
    const auto options =
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(LockWait.count());
    if (!Connect(File, options)) {
        return Failure::Unwritable;
    }
    QSqlQuery query(Database);
    if (query.exec(QStringLiteral("PRAGMA user_version"))) {
        return Failure::None;
    }
    if (const auto code = CodeOf(query.lastError()); code != SqliteReadOnly && code != SqliteCantOpen) {
        return FailureOf(query.lastError());
    }
    // A reader of a write-ahead log shares an index file beside it, which a folder that cannot be written
    // has no room for. Nobody can be writing there either, so the file is read as it stands.
    query = QSqlQuery();
    Close();
    const auto immutable =
        QUrl::fromLocalFile(File).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1");
    if (!Connect(immutable, options + QStringLiteral(";QSQLITE_OPEN_URI"))) {
        return Failure::Unwritable;
    }
    query = QSqlQuery(Database);
    return query.exec(QStringLiteral("PRAGMA user_version")) ? Failure::None : FailureOf(query.lastError());
}

bool History::Connect(const QString& name, const QString& options) {
    Database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), ConnectionName);
    Database.setDatabaseName(name);
    Database.setConnectOptions(options);
    if (!Database.open()) {
        CannotUse(Database.lastError().text());
        return false;
    }
    if (!AddContainsFunction(Database)) {
        CannotUse(tr("the filter cannot be set up"));
        return false;
    }
    return true;
}

History::Failure History::Migrate() {
    QSqlQuery query(Database);
    const auto current = static_cast<int>(Migrations.size());
    // A file of this version, every start's, is only read: no write, no lock, no wait for the disk.
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        return FailureOf(query.lastError());
    }
    if (query.value(0).toInt() == current) {
        return Failure::None;
    }
    query.finish();
    // Immediate: a second program opening the same new file waits rather than migrating it twice.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")) ||
        !query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
        return FailureOf(query.lastError());
    }
    const auto version = query.value(0).toInt();
    if (version > current) {
        query.exec(QStringLiteral("ROLLBACK"));
        CannotUse(tr("it was written by a newer version of %1").arg(ProductInfo::Name));
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
    query.exec(QStringLiteral("PRAGMA user_version = %1").arg(current));
    return query.exec(QStringLiteral("COMMIT")) ? Failure::None : FailureOf(query.lastError());
}

History::Failure History::FailureOf(const QSqlError& error) {
    // A file that may only be read is never put aside: it is someone's record, only not ours to mend.
    if (IsBroken(error) && Writable()) {
        return Failure::Broken;
    }
    CannotUse(Reason(error));
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
    if (!Writable() || !Open()) {
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
    Wrote();
    const auto id = query.lastInsertId().toLongLong();
    emit Added(id);
    return id;
}

bool History::Update(const MessageRecord& record, std::optional<MessageState> from) {
    if (!Writable() || !IsOpen() || record.Id <= 0) {
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
    if (!Run(query, statement, values)) {
        return false;
    }
    Wrote();
    if (query.numRowsAffected() != 1) {
        return false;
    }
    emit Changed(record.Id);
    return true;
}

std::optional<MessageRecord> History::Find(qint64 id, const QString& filter) {
    QVariantList values{id};
    const auto found = Select(QStringLiteral("WHERE id = ?") + FilterCondition(filter, values), values);
    return found.isEmpty() ? std::nullopt : std::optional(found.constFirst());
}

QList<MessageRecord> History::InState(MessageState state) {
    return Select(QStringLiteral("WHERE state = ? ORDER BY id"), {StateName(state)});
}

QList<MessageRecord> History::Newest(int limit, const QString& filter, qint64 before) {
    // A plain bound on the id, so that SQLite seeks to it rather than reading every newer row again: a
    // batch deep into a long history costs what the first one does.
    QVariantList values;
    if (before > 0) {
        values.append(before);
    }
    auto condition = before > 0 ? QStringLiteral("WHERE id < ?") : QStringLiteral("WHERE 1");
    condition += FilterCondition(filter, values);
    values.append(limit);
    return Select(condition + QStringLiteral(" ORDER BY id DESC LIMIT ?"), values);
}

qint64 History::Count(const QString& filter) {
    if (!Open()) {
        return 0;
    }
    QVariantList values;
    QSqlQuery query(Database);
    const auto statement =
        QStringLiteral("SELECT count(*) FROM messages WHERE 1") + FilterCondition(filter, values);
    return Run(query, statement, values) && query.next() ? query.value(0).toLongLong() : 0;
}

bool History::Remove(qint64 id) {
    if (!Writable() || !IsOpen()) {
        return false;
    }
    QSqlQuery query(Database);
    if (!Run(query, QStringLiteral("DELETE FROM messages WHERE id = ?"), {id})) {
        return false;
    }
    Wrote();
    if (query.numRowsAffected() != 1) {
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
        const auto zone = QTimeZone::systemTimeZone();
        while (query.next()) {
            records.append(RecordAt(query, zone));
        }
    }
    return records;
}

bool History::Run(QSqlQuery& query, const QString& statement, const QVariantList& values) {
    if (RunOnce(query, statement, values)) {
        return true;
    }
    const auto error = query.lastError();
    if (!IsBroken(error) || !Writable()) {
        CannotUse(Reason(error));
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

void History::CannotUse(const QString& reason) {
    if (std::exchange(Failing, true)) {
        return;
    }
    emit Problem(Writable()
                     ? tr("Message history cannot be kept in %1 (%2): messages are sent without a record")
                           .arg(File, reason)
                     : tr("Message history cannot be read from %1 (%2)").arg(File, reason));
}

void History::Wrote() {
    Failing = false;
}

} // namespace pagewing
