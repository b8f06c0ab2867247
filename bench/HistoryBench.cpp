// The history's costs: recording a message and each change of its state, with the synchronisation that
// keeps a row across a power cut (median and p99 of 500 each); over 100,000 rows, opening the Message
// History window until its first rows show, and filtering it; and exporting 1,000,000 rows as CSV: the time,
// the peak memory it adds and the longest the event loop waited meanwhile. Targets: under 15 s, flat memory.

#include "BenchSupport.h"
#include "service/History.h"
#include "service/HistoryExport.h"
#include "service/Messenger.h"
#include "session/SMSSender.h"
#include "ui/HistoryFrm.h"

#include "support/FakeDesktopIntegration.h"
#include "support/FakeSessionSocket.h"
#include "support/FakeSessionTimers.h"
#include "support/RecordingEvents.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

using namespace pagewing;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const auto at = [&](double share) {
        return times[static_cast<std::size_t>(share * static_cast<double>(times.size() - 1))];
    };
    std::printf("%-34s median %7.3f ms   p99 %7.3f ms\n", what, at(0.5), at(0.99));
}

MessageRecord Message(int number) {
    MessageRecord record;
    record.Made = record.Changed = QDateTime::currentDateTime();
    record.Entry = QStringLiteral("Ann Lee +1555%1").arg(number, 7, 10, QLatin1Char('0'));
    record.Destination = record.Entry.section(u' ', -1);
    record.Sender = QStringLiteral("Monitor");
    record.Text = QStringLiteral("Disk %1 on backup-%2 is 93% full").arg(number).arg(number % 7);
    return record;
}

// Rows as many runs leave them, written in one transaction: the cost measured is reading them.
void Fill(const QString& file, int rows) {
    History(file).Open();
    {
        auto database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        database.setDatabaseName(file);
        database.open();
        QSqlQuery query(database);
        query.exec(QStringLiteral("BEGIN"));
        query.prepare(
            QStringLiteral("INSERT INTO messages (made, entry, destination, sender, text, origin, "
                           "state, code, detail, changed) VALUES (?, ?, ?, ?, ?, 'window', ?, 0, '', ?)"));
        for (int number = 0; number < rows; ++number) {
            const auto record = Message(number);
            for (const auto& value : QVariantList{record.Made.toMSecsSinceEpoch(), record.Entry,
                                                  record.Destination, record.Sender, record.Text,
                                                  number % 10 == 0 ? QStringLiteral("not delivered")
                                                                   : QStringLiteral("delivered"),
                                                  record.Changed.toMSecsSinceEpoch()}) {
                query.addBindValue(value);
            }
            query.exec();
        }
        query.exec(QStringLiteral("COMMIT"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
}

// Peak memory from here on: Linux forgets the peak so far when asked.
void ForgetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) {
        clear.write("5");
    }
}

// Exports every row while the event loop runs, as in the window; false when it fails or takes too long.
bool MeasureExport(const QString& file, const QString& csv, int rows) {
    History history(file);
    HistoryExport exporting(history, {});
    std::optional<QString> error;
    QObject::connect(&exporting, &HistoryExport::Finished, [&error](const QString& given) { error = given; });
    qint64 written = 0;
    QObject::connect(&exporting, &HistoryExport::Progress, [&written](qint64 count) { written = count; });
    // How long the event loop, and with it a window, goes without a turn.
    QTimer tick;
    auto last = Clock::now();
    double longestWait = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        longestWait = std::max(longestWait, Milliseconds(now - last));
        last = now;
    });
    tick.start(5);
    const auto before = bench::ReadMemory();
    ForgetPeakMemory();
    const auto start = Clock::now();
    if (!exporting.Start(csv).isEmpty() ||
        !bench::WaitUntil([&error] { return error.has_value(); }, std::chrono::seconds(120)) ||
        !error->isEmpty() || written != rows) {
        std::fprintf(stderr, "export failed: %s, %lld rows\n", qPrintable(error.value_or(QString())),
                     static_cast<long long>(written));
        return false;
    }
    const auto seconds = Milliseconds(Clock::now() - start) / 1000;
    const auto peak = bench::ReadMemory().Peak - before.Resident;
    std::printf("%-34s %7.2f s (target 15 s), peak memory +%ld KiB, longest wait for the event loop "
                "%.0f ms, %lld bytes\n",
                qPrintable(QStringLiteral("export %1 rows as CSV").arg(rows)), seconds, peak, longestWait,
                static_cast<long long>(QFileInfo(csv).size()));
    return seconds < 15;
}

} // namespace

int main(int argc, char* argv[]) {
    const QTemporaryDir profile;
    bench::UsePrivateProfile(profile);
    QApplication application(argc, argv);
    bench::NameApplication();

    {
        History history(profile.filePath(QStringLiteral("writes.sqlite")));
        history.Open();
        std::vector<double> adds;
        std::vector<double> changes;
        for (int number = 0; number < 500; ++number) {
            auto record = Message(number);
            auto start = Clock::now();
            record.Id = history.Add(record).value_or(0);
            adds.push_back(Milliseconds(Clock::now() - start));
            record.State = MessageState::Delivered;
            start = Clock::now();
            history.Update(record, MessageState::Queued);
            changes.push_back(Milliseconds(Clock::now() - start));
        }
        Report("record a message", adds);
        Report("record a change of state", changes);
    }

    constexpr int Rows = 100'000;
    const auto file = profile.filePath(QStringLiteral("large.sqlite"));
    Fill(file, Rows);
    test::FakeSessionSocket auth;
    test::FakeSessionSocket service;
    test::FixedClock clock;
    test::FakeSessionTimers timers;
    test::RecordingEvents events;
    SMSSender session(auth, service, clock, timers, events);
    History history(file);
    Messenger messages(session, clock, timers, history, Messenger::Outbox::OwnOnly);
    test::FakeDesktopIntegration desktop;

    const auto opening = Clock::now();
    HistoryFrm window(messages, desktop);
    window.show();
    auto* table = window.findChild<QTableView*>(QStringLiteral("lstHistory"));
    if (!bench::WaitUntil([table] { return table->model()->rowCount() > 0 && table->isVisible(); })) {
        std::fprintf(stderr, "no rows shown\n");
        return 1;
    }
    QCoreApplication::processEvents();
    std::printf("%-34s %7.1f ms (%d rows)\n", "open the history window", Milliseconds(Clock::now() - opening),
                Rows);

    for (const auto* filter :
         {"backup-3", "93% full", "not delivered", "+15550099999", "nothing like this"}) {
        const auto start = Clock::now();
        window.findChild<QLineEdit*>(QStringLiteral("txtFilter"))->setText(QLatin1String(filter));
        QCoreApplication::processEvents();
        std::printf("%-34s %7.1f ms (%d rows shown first)\n",
                    qPrintable(QStringLiteral("filter \"%1\"").arg(filter)),
                    Milliseconds(Clock::now() - start), table->model()->rowCount());
    }

    constexpr int ExportRows = 1'000'000;
    const auto huge = profile.filePath(QStringLiteral("huge.sqlite"));
    Fill(huge, ExportRows);
    return MeasureExport(huge, profile.filePath(QStringLiteral("export.csv")), ExportRows) ? 0 : 1;
}
