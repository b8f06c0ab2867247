// The history file as the window and a command share it: made private, kept across a broken file, a
// folder that cannot be written and a second program writing at the same moment.

#include "service/History.h"

#include "support/QtTestEnvironment.h"

#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <thread>

using namespace pagewing;

namespace {

MessageRecord Message(const QString& entry, const QString& text = QStringLiteral("Hi")) {
    MessageRecord record;
    record.Made = record.Changed = QDateTime::currentDateTime();
    record.Entry = record.Destination = entry;
    record.Text = text;
    return record;
}

// A pragma's value, read through a connection of its own.
QVariant Pragma(const QString& file, const char* name) {
    QVariant value;
    {
        auto database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("pragma"));
        database.setDatabaseName(file);
        database.open();
        QSqlQuery query(database);
        query.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(name)));
        query.next();
        value = query.value(0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("pragma"));
    return value;
}

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT

    QString File() const { return Folder.filePath(QStringLiteral("new/history.sqlite")); }

    QTemporaryDir Folder;

private slots:
    void init() { QDir(Folder.filePath(QStringLiteral("new"))).removeRecursively(); }

    void aNewHistoryIsPrivateJournalledAndVersioned() {
        History history(File());
        QVERIFY(history.Add(Message(QStringLiteral("5550101"))));
        QCOMPARE(QFileInfo(QFileInfo(File()).path()).permissions() & 0x0077, QFile::Permissions());
        for (const auto& file : {File(), File() + QStringLiteral("-wal")}) {
            QCOMPARE(QFileInfo(file).permissions(),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        }
        QCOMPARE(Pragma(File(), "journal_mode").toString(), QStringLiteral("wal"));
        QCOMPARE(Pragma(File(), "user_version").toInt(), 2);
    }

    void findsByFilterAndPagesFromTheNewest() {
        History history(File());
        for (const auto& [entry, text] :
             {std::pair{"Ann 5550101", "50% off"}, std::pair{"Bob 5550102", "a_b"},
              std::pair{"Ann 5550103", "Hello"}}) {
            history.Add(Message(QLatin1String(entry), QLatin1String(text)));
        }
        const auto entries = [](const QList<MessageRecord>& records) {
            QStringList found;
            for (const auto& record : records) {
                found.append(record.Entry);
            }
            return found;
        };
        QCOMPARE(entries(history.Newest(2)), (QStringList{"Ann 5550103", "Bob 5550102"}));
        QCOMPARE(entries(history.Newest(2, {}, history.Newest(2).constLast().Id)),
                 QStringList{"Ann 5550101"});
        QCOMPARE(entries(history.Newest(10, QStringLiteral("ann"))),
                 (QStringList{"Ann 5550103", "Ann 5550101"}));
        // The wildcards of SQL are plain characters in a filter.
        QCOMPARE(entries(history.Newest(10, QStringLiteral("%"))), QStringList{"Ann 5550101"});
        QCOMPARE(entries(history.Newest(10, QStringLiteral("_"))), QStringList{"Bob 5550102"});
        QCOMPARE(entries(history.Newest(10, QStringLiteral("queued"))).size(), 3);
    }

    void aBrokenFileIsPutAsideAndANewOneStarted_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("not a database") << QByteArray("Some notes of mine\n");
        QByteArray header("SQLite format 3");
        header.append('\0');
        QTest::newRow("a damaged database") << header + QByteArray(4080, '\x7F');
    }

    void aBrokenFileIsPutAsideAndANewOneStarted() {
        QFETCH(QByteArray, bytes);
        QDir().mkpath(QFileInfo(File()).path());
        QFile broken(File());
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(bytes);
        broken.close();
        History history(File());
        QSignalSpy problems(&history, &History::Problem);
        QVERIFY(history.Add(Message(QStringLiteral("5550101"))));
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems.at(0).at(0).toString().startsWith(u"Message history was damaged: kept as "));
        const auto aside =
            QDir(QFileInfo(File()).path()).entryList({QStringLiteral("history.sqlite.broken-*")});
        QCOMPARE(aside.size(), 1);
        QFile kept(QFileInfo(File()).path() + u'/' + aside.constFirst());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), bytes);
        QCOMPARE(history.Newest(5).size(), 1);
    }

    void aNewerVersionsFileIsLeftAlone() {
        { History(File()).Open(); }
        {
            auto database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
            database.setDatabaseName(File());
            database.open();
            QSqlQuery(database).exec(QStringLiteral("PRAGMA user_version = 7"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("newer"));
        History history(File());
        QSignalSpy problems(&history, &History::Problem);
        QVERIFY(!history.Open());
        QVERIFY(problems.value(0).value(0).toString().contains(u"newer version"));
        QCOMPARE(Pragma(File(), "user_version").toInt(), 7);
    }

    void aWriteWaitsForAnotherProgramsWrite() {
        History history(File());
        QVERIFY(history.Open());
        // Another program holds the file's write lock for a while, as a command recording its message does.
        std::atomic<bool> locked = false;
        std::thread other([&] {
            {
                auto database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
                database.setDatabaseName(File());
                database.open();
                QSqlQuery query(database);
                query.exec(QStringLiteral("BEGIN IMMEDIATE"));
                locked = true;
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                query.exec(QStringLiteral("COMMIT"));
            }
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
        });
        while (!locked) {
            std::this_thread::yield();
        }
        QSignalSpy problems(&history, &History::Problem);
        const auto id = history.Add(Message(QStringLiteral("5550101")));
        other.join();
        QVERIFY(id);
        QCOMPARE(problems.size(), 0);
    }
};

PAGEWING_QTEST_MAIN(HistoryTest)
#include "HistoryTest.moc"
