#include "service/HistoryExport.h"

#include "service/History.h"

#include <QTimer>

#include <algorithm>

namespace pagewing {

namespace {

QString CsvField(QString text) {
    static const QString FormulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && FormulaStarts.contains(text.front())) {
        text.prepend(u'\'');
    }
    static const QString NeedQuotes = QStringLiteral("\",\r\n");
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return NeedQuotes.contains(c); })) {
        return text;
    }
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

HistoryExport::HistoryExport(History& history, QString filter, QObject* parent)
    : QObject(parent)
    , Source(history)
    , Filter(std::move(filter)) {}

QString HistoryExport::CsvLine(const QStringList& fields) {
    QStringList cells;
    for (const auto& field : fields) {
        cells.append(CsvField(field));
    }
    return cells.join(u',') + QStringLiteral("\r\n");
}

QString HistoryExport::Start(const QString& fileName) {
    File.setFileName(fileName);
    // The messages are as private here as in the history, whatever the umask or the file's mode before.
    if (!File.open(QIODevice::WriteOnly) ||
        !File.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        return File.errorString();
    }
    Expected = Source.Count(Filter);
    // Messages that arrive while it runs are left out: it starts below the newest one now.
    const auto newest = Source.Newest(1, Filter);
    Oldest = newest.isEmpty() ? 0 : newest.constFirst().Id + 1;
    File.write(CsvLine({QStringLiteral("time"), QStringLiteral("to"), QStringLiteral("destination"),
                        QStringLiteral("sender"), QStringLiteral("text"), QStringLiteral("state"),
                        QStringLiteral("code"), QStringLiteral("detail")})
                   .toUtf8());
    QTimer::singleShot(0, this, [this] { Oldest > 0 ? WriteBatch() : Finish({}); });
    return {};
}

void HistoryExport::WriteBatch() {
    const auto records = Source.Newest(Batch, Filter, Oldest);
    QString lines;
    for (const auto& record : records) {
        lines += CsvLine(record.Fields());
    }
    if (File.write(lines.toUtf8()) < 0) {
        Finish(File.errorString());
        return;
    }
    Written += records.size();
    emit Progress(Written);
    if (records.size() < Batch) {
        Finish({});
        return;
    }
    Oldest = records.constLast().Id;
    QTimer::singleShot(0, this, &HistoryExport::WriteBatch);
}

void HistoryExport::Finish(QString error) {
    // Without a commit nothing is left behind, not even half a file.
    if (error.isEmpty() && !File.commit()) {
        error = File.errorString();
    }
    emit Finished(error);
}

} // namespace pagewing
