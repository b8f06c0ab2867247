#include "ui/HistoryFrm.h"

#include "service/History.h"
#include "service/Messenger.h"
#include "ui/HistoryModel.h"
#include "ui/PictureButton.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSaveFile>
#include <QShortcut>
#include <QTableView>

#include <algorithm>
#include <limits>

namespace pagewing {

namespace {

template <typename Control>
Control* Place(Control* control, const char* name, const QRect& place) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(place);
    return control;
}

// One CSV field: quoted when it holds a separator, a quote or a line break, as RFC 4180 has it.
QString CsvField(QString text) {
    if (!text.contains(QRegularExpression(QStringLiteral("[\",\r\n]")))) {
        return text;
    }
    return u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

HistoryFrm::HistoryFrm(Messenger& messages, DesktopIntegration& desktop, QWidget* parent)
    : SkinnedWindow(QStringLiteral(":/skins/history.png"), tr("Message History"), desktop, parent)
    , Messages(messages)
    , Model(new HistoryModel(messages.Records(), this)) {
    setObjectName(QStringLiteral("HistoryFrm"));
    txtFilter = Place(new QLineEdit(this), "txtFilter", QRect(60, 37, 481, 21));
    txtFilter->setAccessibleName(tr("Filter"));
    txtFilter->setPlaceholderText(tr("Number, name, text or outcome"));
    txtFilter->setClearButtonEnabled(true);

    lstHistory = Place(new QTableView(this), "lstHistory", QRect(19, 65, 522, 291));
    lstHistory->setModel(Model);
    lstHistory->setAccessibleName(tr("Messages"));
    lstHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstHistory->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstHistory->setWordWrap(false);
    lstHistory->setTabKeyNavigation(false);
    lstHistory->verticalHeader()->hide();
    lstHistory->verticalHeader()->setDefaultSectionSize(lstHistory->fontMetrics().height() + 6);
    lstHistory->horizontalHeader()->setHighlightSections(false);
    for (const auto& [column, width] : {std::pair{HistoryModel::Time, 136}, std::pair{HistoryModel::To, 122},
                                        std::pair{HistoryModel::Text, 146}}) {
        lstHistory->setColumnWidth(column, width);
    }
    lstHistory->horizontalHeader()->setStretchLastSection(true);

    cmdSendAgain = Place(new PictureButton(QStringLiteral("again"), tr("Send Again"), this), "cmdSendAgain",
                         QRect(20, 379, 88, 18));
    cmdCopy = Place(new PictureButton(QStringLiteral("copy"), tr("Copy"), this), "cmdCopy",
                    QRect(114, 379, 88, 18));
    cmdDelete = Place(new PictureButton(QStringLiteral("delete"), tr("Delete"), this), "cmdDelete",
                      QRect(208, 379, 88, 18));
    cmdExport = Place(new PictureButton(QStringLiteral("export"), tr("Export as CSV"), this), "cmdExport",
                      QRect(302, 379, 100, 18));
    cmdClose = Place(new PictureButton(QStringLiteral("done"), tr("Close"), this), "cmdClose",
                     QRect(452, 379, 88, 18));
    ChainTabOrder({txtFilter, lstHistory, cmdSendAgain, cmdCopy, cmdDelete, cmdExport, cmdClose});

    connect(txtFilter, &QLineEdit::textChanged, Model, &HistoryModel::SetFilter);
    connect(cmdSendAgain, &ImageButton::Click, this, &HistoryFrm::cmdSendAgain_Click);
    connect(cmdCopy, &ImageButton::Click, this, &HistoryFrm::cmdCopy_Click);
    connect(cmdDelete, &ImageButton::Click, this, &HistoryFrm::cmdDelete_Click);
    connect(cmdExport, &ImageButton::Click, this, &HistoryFrm::cmdExport_Click);
    connect(cmdClose, &ImageButton::Click, this, &QWidget::hide);
    for (const auto& [keys, handler] :
         {std::pair{QKeySequence(QKeySequence::Copy), &HistoryFrm::cmdCopy_Click},
          std::pair{QKeySequence(QKeySequence::Delete), &HistoryFrm::cmdDelete_Click}}) {
        auto* shortcut = new QShortcut(keys, lstHistory, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, handler);
    }
}

void HistoryFrm::showEvent(QShowEvent* event) {
    SkinnedWindow::showEvent(event);
    txtFilter->setFocus();
}

void HistoryFrm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    SkinnedWindow::keyPressEvent(event);
}

QList<qint64> HistoryFrm::Chosen() const {
    auto rows = lstHistory->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.row() > b.row(); });
    QList<qint64> ids;
    for (const auto& row : rows) {
        ids.append(Model->Record(row.row()).Id);
    }
    return ids;
}

void HistoryFrm::cmdSendAgain_Click() {
    for (const auto id : Chosen()) {
        Messages.SendAgain(id);
    }
}

void HistoryFrm::cmdCopy_Click() {
    QStringList lines;
    auto rows = lstHistory->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    for (const auto& row : rows) {
        QStringList cells;
        for (int column = 0; column < HistoryModel::ColumnCount; ++column) {
            cells.append(
                HistoryModel::Cell(Model->Record(row.row()), static_cast<HistoryModel::Column>(column)));
        }
        lines.append(cells.join(u'\t'));
    }
    if (!lines.isEmpty()) {
        QApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
    }
}

void HistoryFrm::cmdDelete_Click() {
    for (const auto id : Chosen()) {
        // A message still in the outbox goes with its row.
        Messages.Withdraw(id, tr("deleted from the Message History"));
        Messages.Records().Remove(id);
    }
}

void HistoryFrm::cmdExport_Click() {
    const auto fileName =
        QFileDialog::getSaveFileName(this, tr("Export as CSV"), tr("messages.csv"), tr("CSV files (*.csv)"));
    if (fileName.isEmpty()) {
        return;
    }
    if (const auto error = ExportTo(fileName); !error.isEmpty()) {
        QMessageBox::warning(this, tr("Export as CSV"),
                             tr("%1 could not be written: %2").arg(fileName, error));
    }
}

QString HistoryFrm::ExportTo(const QString& fileName) const {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    QStringList lines{QStringLiteral("time,to,destination,sender,text,state,code,detail")};
    for (const auto& record : Messages.Records().Newest(std::numeric_limits<int>::max(), Model->Filter())) {
        QStringList fields;
        for (const auto& field : record.Fields()) {
            fields.append(CsvField(field));
        }
        lines.append(fields.join(u','));
    }
    file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    return file.commit() ? QString() : file.errorString();
}

} // namespace pagewing
