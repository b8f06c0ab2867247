// The history file as the window and a command share it: made private, kept across a broken file, a
// folder that cannot be written and a second program writing at the same moment; trusted only in a folder of
// the user's own; read without writing; exported as CSV that stays text.

#include "service/History.h"
#include "service/HistoryExport.h"

#include "support/QtTestEnvironment.h"

#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <thread>

#include <sys/stat.h>

using namespace pagewing;

namespace {

MessageRecord Message(const QString& entry, const QString& text = QStringLiteral("Hi")) {
    MessageRecord record;
    record.Made = record.Changed = QDateTime::currentDateTime();
    record.Entry = record.Destination = entry;
    record.Text = text;
    return record;
}

void Write(const QString& fileName, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(fileName).path());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// Another program's connection to the file, for as long as it lives.
struct OtherProgram {
    explicit OtherProgram(const QString& file) {
        auto database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        database.setDatabaseName(file);
        database.open();
    }
    ~OtherProgram() { QSqlDatabase::removeDatabase(QStringLiteral("other")); }
    bool Run(const QString& statement) const {
        return QSqlQuery(QSqlDatabase::database(QStringLiteral("other"))).exec(statement);
    }
};

// A pragma's value, read through a connection of its own.
QVariant Pragma(const QString& file, const char* name) {
    const OtherProgram program(file);
    QSqlQuery query(QSqlDatabase::database(QStringLiteral("other")));
    query.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(name)));
    return query.next() ? query.value(0) : QVariant();
}

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT

    QString File() const { return Folder.filePath(QStringLiteral("new/history.sqlite")); }

    QTemporaryDir Folder;

private slots:
    void init() { QDir(Folder.filePath(QStringLiteral("new"))).removeRecursively(); }

    void aNewHistoryIsPrivateJournalledAndVersionedAndANewerOneLeftAlone() {
        const auto umask = ::umask(0);
        History history(File());
        QVERIFY(history.Add(Message(QStringLiteral("5550101"))));
        ::umask(umask);
        QCOMPARE(QFileInfo(QFileInfo(File()).path()).permissions() & 0x0077, QFile::Permissions());
        for (const auto* suffix : {"", "-wal", "-shm"}) {
            QCOMPARE(QFileInfo(File() + QLatin1String(suffix)).permissions(),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        }
        QCOMPARE(Pragma(File(), "journal_mode").toString(), QStringLiteral("wal"));
        QCOMPARE(Pragma(File(), "user_version").toInt(), 2);

        // A newer version's file is left alone.
        QVERIFY(OtherProgram(File()).Run(QStringLiteral("PRAGMA user_version = 7")));
        History newer(File());
        QSignalSpy problems(&newer, &History::Problem);
        QVERIFY(!newer.Open());
        QVERIFY(problems.value(0).value(0).toString().contains(u"newer version"));
        QCOMPARE(Pragma(File(), "user_version").toInt(), 7);
    }

    void findsByFilterAndPagesFromTheNewest() {
        History history(File());
        for (const auto& [entry, text] :
             {std::pair{"Ann 5550101", "50% off"}, std::pair{"Bob 5550102", "a_b"},
              std::pair{"Ann 5550103", "Hello"}, std::pair{"\u00C9mile 5550104", "Salut"}}) {
            history.Add(Message(QString::fromUtf8(entry), QLatin1String(text)));
        }
        const auto entries = [](const QList<MessageRecord>& records) {
            QStringList found;
            for (const auto& record : records) {
                found.append(record.Entry);
            }
            return found;
        };
        QCOMPARE(entries(history.Newest(2)), (QStringList{"\u00C9mile 5550104", "Ann 5550103"}));
        QCOMPARE(entries(history.Newest(2, {}, history.Newest(3).constLast().Id)),
                 QStringList{"Ann 5550101"});
        QCOMPARE(entries(history.Newest(10, QStringLiteral("ann"))),
                 (QStringList{"Ann 5550103", "Ann 5550101"}));
        // The wildcards of SQL are plain characters in a filter; letter case is ignored beyond ASCII, in the
        // table's query and for a row found by its id alike.
        QCOMPARE(entries(history.Newest(10, QStringLiteral("%"))), QStringList{"Ann 5550101"});
        QCOMPARE(entries(history.Newest(10, QStringLiteral("_"))), QStringList{"Bob 5550102"});
        QCOMPARE(entries(history.Newest(10, QStringLiteral("\u00E9mile"))),
                 QStringList{"\u00C9mile 5550104"});
        const auto emile = history.Newest(1).constFirst().Id;
        QVERIFY(history.Find(emile, QStringLiteral("\u00E9MILE")) &&
                !history.Find(emile, QStringLiteral("ann")));
        QCOMPARE(history.Count(QStringLiteral("queued")), 4);
    }

    void exportedCellsStayText() {
        // Quoted as RFC 4180 has it; what a spreadsheet would run as a formula is shown as text instead.
        for (const auto& [field, cell] :
             {std::pair{"Hi", "Hi"}, std::pair{"Tom, \"Jerry\"", "\"Tom, \"\"Jerry\"\"\""},
              std::pair{"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
              std::pair{"+15551234567", "'+15551234567"}, std::pair{"-1+2", "'-1+2"},
              std::pair{"@SUM(A1)", "'@SUM(A1)"}, std::pair{"\t=1", "'\t=1"},
              std::pair{"\r=1", "\"'\r=1\""}}) {
            QCOMPARE(HistoryExport::CsvLine({QStringLiteral("a"), QLatin1String(field)}),
                     QStringLiteral("a,%1\r\n").arg(QLatin1String(cell)));
        }
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
        Write(File(), bytes);
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

    // Files planted where the history would be: none is followed, changed or read, and a line says why.
    void onlyTheUsersOwnFolderAndFilesAreUsed_data() {
        QTest::addColumn<QString>("planted");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a folder others can write") << QString() << "others can write to";
        for (const auto* link : {"", "-wal", "-shm", "-outbox"}) {
            QTest::newRow(qPrintable(QStringLiteral("history.sqlite%1").arg(QLatin1String(link))))
                << QString::fromLatin1(link) << "is a link";
        }
    }

    void onlyTheUsersOwnFolderAndFilesAreUsed() {
        QFETCH(QString, planted);
        QFETCH(QString, reason);
        // A history with a message queued by someone else, in a folder that someone else can write.
        { QVERIFY(History(File()).Add(Message(QStringLiteral("5550199")))); }
        const auto victim = Folder.filePath(QStringLiteral("victim"));
        Write(victim, "mine");
        QFile::setPermissions(victim, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        if (planted.isNull()) {
            QFile::setPermissions(QFileInfo(File()).path(), QFile::Permissions(0x7777));
        } else {
            QFile::remove(File() + planted);
            QVERIFY(QFile::link(victim, File() + planted));
        }
        History history(File());
        QSignalSpy problems(&history, &History::Problem);
        QVERIFY(!history.Add(Message(QStringLiteral("5550101"))));
        history.MarkWaiting(true);
        QCOMPARE(history.InState(MessageState::Queued).size(), 0);
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems.at(0).at(0).toString().contains(reason),
                 qPrintable(problems.at(0).at(0).toString()));
        QFile file(victim);
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll() == "mine" &&
                (file.permissions() & 0x0777) == (QFile::ReadUser | QFile::WriteUser | QFile::ReadOther));
    }

    void aWriteWaitsASecondForAnotherProgramThenSaysSoOncePerSpell() {
        History history(File());
        QVERIFY(history.Open());
        QSignalSpy problems(&history, &History::Problem);
        // Another program holds the write lock for a while, as a command recording its message does.
        std::atomic<bool> locked = false;
        std::thread command([&] {
            const OtherProgram program(File());
            program.Run(QStringLiteral("BEGIN IMMEDIATE"));
            locked = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            program.Run(QStringLiteral("COMMIT"));
        });
        while (!locked) {
            std::this_thread::yield();
        }
        const auto waited = history.Add(Message(QStringLiteral("5550100")));
        command.join();
        QVERIFY(waited && problems.isEmpty());

        // One that keeps it: each spell of failed writes gives one line.
        const OtherProgram writer(File());
        for (int spell = 1; spell <= 2; ++spell) {
            QVERIFY(writer.Run(QStringLiteral("BEGIN IMMEDIATE")));
            QVERIFY(!history.Add(Message(QStringLiteral("5550101"))));
            // Reading still works, and is not a write that works.
            QVERIFY(!history.Newest(1).isEmpty() && !history.Add(Message(QStringLiteral("5550102"))));
            QVERIFY(writer.Run(QStringLiteral("COMMIT")));
            QCOMPARE(problems.size(), spell);
            QVERIFY(history.Add(Message(QStringLiteral("5550103"))));
        }
        QVERIFY(problems.at(1).at(0).toString().contains(
            u"(another program kept it locked for more than a second)"));
    }
};

PAGEWING_QTEST_MAIN(HistoryTest)
#include "HistoryTest.moc"
