#include "ui/HistoryModel.h"

#include "service/History.h"

#include <QLocale>
#include <QTextDocument>

namespace pagewing {

HistoryModel::HistoryModel(History& history, QObject* parent)
    : QAbstractTableModel(parent)
    , Source(history) {
    connect(&Source, &History::Added, this, &HistoryModel::Added);
    connect(&Source, &History::Changed, this, &HistoryModel::Changed);
    connect(&Source, &History::Removed, this, &HistoryModel::Removed);
    SetFilter({});
}

void HistoryModel::SetFilter(const QString& filter) {
    beginResetModel();
    Filtered = filter;
    Rows = Source.Newest(Batch, Filtered);
    More = Rows.size() == Batch;
    endResetModel();
}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryModel::Cell(const MessageRecord& record, Column column) {
    switch (column) {
    case Time:
        return QLocale().toString(record.Made, QLocale::ShortFormat);
    case To:
        return record.To();
    case Text:
        return record.Sender.isEmpty() ? record.Text : record.Sender + QStringLiteral(": ") + record.Text;
    case Outcome:
        return record.Outcome();
    case ColumnCount:
        break;
    }
    return {};
}

QString HistoryModel::Details(const MessageRecord& record) {
    return tr("%1 to %2\n%3\n%4").arg(Cell(record, Time), record.To(), Cell(record, Text), record.Outcome());
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Rows.size()) {
        return {};
    }
    const auto text = Cell(Rows.at(index.row()), static_cast<Column>(index.column()));
    switch (role) {
    case Qt::DisplayRole:
        // One line per message; the whole text is in the tooltip and read out by screen readers.
        return QString(text).replace(u'\n', u' ');
    case Qt::ToolTipRole:
        // A tooltip takes anything that looks like markup for rich text: a server's "<img src=...>" would
        // load a picture. Written out as rich text, the text shows as it is, in full.
        return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
    case Qt::AccessibleTextRole:
        return text;
    default:
        return {};
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case Time:
        return tr("Time");
    case To:
        return tr("To");
    case Text:
        return tr("Text");
    case Outcome:
        return tr("Outcome");
    default:
        return {};
    }
}

bool HistoryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && More;
}

void HistoryModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) {
        return;
    }
    const auto older = Source.Newest(Batch, Filtered, Rows.constLast().Id);
    More = older.size() == Batch;
    if (older.isEmpty()) {
        return;
    }
    const auto first = static_cast<int>(Rows.size());
    beginInsertRows({}, first, first + static_cast<int>(older.size()) - 1);
    Rows.append(older);
    endInsertRows();
}

void HistoryModel::Added(qint64 id) {
    const auto record = Source.Find(id, Filtered);
    if (!record || RowOf(id) >= 0) {
        return;
    }
    beginInsertRows({}, 0, 0);
    Rows.prepend(*record);
    endInsertRows();
}

void HistoryModel::Changed(qint64 id) {
    const auto row = RowOf(id);
    const auto record = row < 0 ? std::nullopt : Source.Find(id);
    if (!record) {
        return;
    }
    Rows[row] = *record;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void HistoryModel::Removed(qint64 id) {
    const auto row = RowOf(id);
    if (row < 0) {
        return;
    }
    beginRemoveRows({}, row, row);
    Rows.removeAt(row);
    endRemoveRows();
}

int HistoryModel::RowOf(qint64 id) const {
    for (int row = 0; row < Rows.size(); ++row) {
        if (Rows.at(row).Id == id) {
            return row;
        }
    }
    return -1;
}

} // namespace pagewing
