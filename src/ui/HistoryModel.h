#pragma once

#include "service/MessageRecord.h"

#include <QAbstractTableModel>
#include <QList>

namespace pagewing {

class History;

// The history as a table, newest first: time, to, text and outcome. It reads a batch of rows at a time as the
// view scrolls, so a history of a hundred thousand messages opens as fast as one of ten, and follows the
// history as messages are added, change or are deleted.
class HistoryModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Time, To, Text, Outcome, ColumnCount };
    static constexpr int Batch = 200;

    explicit HistoryModel(History& history, QObject* parent = nullptr);

    // Shows only the messages that the history's filter lets through, now and as they arrive.
    void SetFilter(const QString& filter);
    const QString& Filter() const { return Filtered; }
    const MessageRecord& Record(int row) const { return Rows.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The cells of a record as the table shows them.
    static QString Cell(const MessageRecord& record, Column column);
    // All of a record, as the details under the table show it: when and where it went, its text in full and
    // how it ended.
    static QString Details(const MessageRecord& record);

private:
    void Added(qint64 id);
    void Changed(qint64 id);
    void Removed(qint64 id);
    int RowOf(qint64 id) const;

    History& Source;
    QString Filtered;
    QList<MessageRecord> Rows;
    bool More = false;
};

} // namespace pagewing
