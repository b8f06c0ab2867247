#pragma once

#include <QObject>
#include <QSaveFile>
#include <QString>
#include <QStringList>

namespace pagewing {

class History;

// Writes the messages a filter lets through, newest first, as CSV into a file that is its owner's alone: a
// batch of rows per turn of the event loop, so that a window stays answering and memory stays flat however
// long the history. Rows that arrive meanwhile are left out; the file appears, whole, only at the end.
class HistoryExport : public QObject {
    Q_OBJECT

public:
    static constexpr int Batch = 2000;

    HistoryExport(History& history, QString filter, QObject* parent = nullptr);

    // Starts writing; the error, or empty when it started.
    QString Start(const QString& fileName);
    // How many rows there are to write, counted at the start.
    qint64 Total() const { return Expected; }

    // One line of CSV, as RFC 4180 quotes it; a field that a spreadsheet would run as a formula (one that
    // begins with "=", "+", "-", "@", a tab or a carriage return) begins with an apostrophe, which it shows
    // as text.
    static QString CsvLine(const QStringList& fields);

signals:
    void Progress(qint64 written);
    // Done; the error, or empty when the file is whole.
    void Finished(const QString& error);

private:
    void WriteBatch();
    void Finish(QString error);

    History& Source;
    const QString Filter;
    QSaveFile File;
    qint64 Expected = 0;
    qint64 Written = 0;
    // The next batch is older than this message.
    qint64 Oldest = 0;
};

} // namespace pagewing
