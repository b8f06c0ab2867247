#include "ui/HistoryFrm.h"

#include "platform/RegisteryLoadSave.h"
#include "service/History.h"
#include "service/HistoryExport.h"
#include "service/Messenger.h"
#include "session/GlobalSettings.h"
#include "ui/HistoryModel.h"
#include "ui/PictureButton.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

#include <algorithm>
#include <limits>

namespace pagewing {

namespace {

// The skin's borders that keep their size when the window is resized: the caption's title and the filter's
// label on the left, the table's frame and the button bar.
constexpr QMargins SkinBorders{150, 80, 40, 72};
constexpr QSize SmallestSize{560, 412};
constexpr int DetailsHeight = 60;

template <typename Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace

HistoryFrm::HistoryFrm(Messenger& messages, DesktopIntegration& desktop, QWidget* parent)
    : SkinnedWindow(QStringLiteral(":/skins/history.png"), tr("Message History"), desktop, parent)
    , Messages(messages)
    , Model(new HistoryModel(messages.Records(), this)) {
    setObjectName(QStringLiteral("HistoryFrm"));
    txtFilter = Named(new QLineEdit(this), "txtFilter");
    txtFilter->setAccessibleName(tr("Filter"));
    txtFilter->setPlaceholderText(tr("Number, name, text or outcome"));
    txtFilter->setClearButtonEnabled(true);

    lstHistory = Named(new QTableView(this), "lstHistory");
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
    lstHistory->horizontalHeader()->setStretchLastSection(true);

    txtDetails = Named(new QPlainTextEdit(this), "txtDetails");
    txtDetails->setAccessibleName(tr("Details"));
    txtDetails->setReadOnly(true);
    txtDetails->setTabChangesFocus(true);
    barExport = Named(new QProgressBar(this), "barExport");
    barExport->setFormat(tr("Exporting: %v of %m messages written"));
    barExport->hide();

    cmdSendAgain = Named(new PictureButton(QStringLiteral("again"), tr("Send Again"), this), "cmdSendAgain");
    cmdCopy = Named(new PictureButton(QStringLiteral("copy"), tr("Copy"), this), "cmdCopy");
    cmdDelete = Named(new PictureButton(QStringLiteral("delete"), tr("Delete"), this), "cmdDelete");
    cmdExport = Named(new PictureButton(QStringLiteral("export"), tr("Export as CSV"), this), "cmdExport");
    cmdClose = Named(new PictureButton(QStringLiteral("done"), tr("Close"), this), "cmdClose");
    ChainTabOrder({txtFilter, lstHistory, txtDetails, cmdSendAgain, cmdCopy, cmdDelete, cmdExport, cmdClose});

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
    connect(lstHistory->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryFrm::ShowChoice);
    connect(lstHistory->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &HistoryFrm::ShowChoice);
    connect(Model, &QAbstractItemModel::modelReset, this, &HistoryFrm::ShowChoice);
    connect(Model, &QAbstractItemModel::dataChanged, this, &HistoryFrm::ShowChoice);
    connect(Model, &QAbstractItemModel::rowsRemoved, this, &HistoryFrm::ShowChoice);

    MakeResizable(SkinBorders, SmallestSize);
    RestoreSize();
    ShowChoice();
}

HistoryFrm::~HistoryFrm() {
    if (isVisible()) {
        RememberSize();
    }
}

void HistoryFrm::resizeEvent(QResizeEvent* event) {
    SkinnedWindow::resizeEvent(event);
    // The skin's table frame ends 56 pixels above the bottom, and its button bar sits in the last 33.
    const auto tableFrameEnd = height() - 56;
    txtFilter->setGeometry(60, 37, width() - 79, 21);
    lstHistory->setGeometry(19, 65, width() - 38, tableFrameEnd - DetailsHeight - 4 - 65);
    txtDetails->setGeometry(19, tableFrameEnd - DetailsHeight, width() - 38, DetailsHeight);
    barExport->setGeometry(txtDetails->geometry());
    const auto buttons = height() - 33;
    for (const auto& [button, left] : {std::pair{cmdSendAgain, 20}, std::pair{cmdCopy, 114},
                                       std::pair{cmdDelete, 208}, std::pair{cmdExport, 302}}) {
        button->move(left, buttons);
    }
    cmdClose->move(width() - 108, buttons);
}

void HistoryFrm::RestoreSize() {
    resize(GlobalSettings.HistoryWidth, GlobalSettings.HistoryHeight);
    const auto widths =
        QString::fromStdU16String(GlobalSettings.HistoryColumns).split(u' ', Qt::SkipEmptyParts);
    for (int column = 0; column < std::min<qsizetype>(widths.size(), HistoryModel::ColumnCount - 1);
         ++column) {
        if (const auto width = widths.at(column).toInt(); width > 0) {
            lstHistory->setColumnWidth(column, width);
        }
    }
}

void HistoryFrm::RememberSize() const {
    QStringList widths;
    for (int column = 0; column < HistoryModel::ColumnCount - 1; ++column) {
        widths.append(QString::number(lstHistory->columnWidth(column)));
    }
    GlobalSettings.HistoryWidth = width();
    GlobalSettings.HistoryHeight = height();
    GlobalSettings.HistoryColumns = widths.join(u' ').toStdU16String();
    RegisteryLoadSave::SaveWindowSettings();
}

void HistoryFrm::showEvent(QShowEvent* event) {
    SkinnedWindow::showEvent(event);
    txtFilter->setFocus();
}

void HistoryFrm::hideEvent(QHideEvent* event) {
    SkinnedWindow::hideEvent(event);
    RememberSize();
}

void HistoryFrm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    SkinnedWindow::keyPressEvent(event);
}

void HistoryFrm::ShowChoice() {
    const bool chosen = lstHistory->selectionModel()->hasSelection();
    for (auto* button : {cmdSendAgain, cmdDelete}) {
        button->setEnabled(chosen);
        button->SetEnable(chosen);
    }
    const auto current = lstHistory->currentIndex();
    const bool shown = chosen && lstHistory->selectionModel()->isRowSelected(current.row(), {});
    txtDetails->setPlainText(shown ? HistoryModel::Details(Model->Record(current.row())) : QString());
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

bool HistoryFrm::Confirmed(const QString& question, const QString& action) {
    QMessageBox box(QMessageBox::Question, windowTitle(), question, QMessageBox::Cancel, this);
    box.setTextFormat(Qt::PlainText);
    const auto* yes = box.addButton(action, QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == yes;
}

void HistoryFrm::Warn(const QString& text) {
    // A file's name and the system's words are shown as they are, never as markup.
    QMessageBox box(QMessageBox::Warning, tr("Export as CSV"), text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void HistoryFrm::cmdSendAgain_Click() {
    const auto ids = Chosen();
    if (ids.size() > 1 &&
        !Confirmed(tr("Send %n messages again?", nullptr, static_cast<int>(ids.size())), tr("Send Again"))) {
        return;
    }
    for (const auto id : ids) {
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
    const auto ids = Chosen();
    if (ids.size() > 1 &&
        !Confirmed(tr("Delete %n messages from the Message History? Those still waiting will not be sent.",
                      nullptr, static_cast<int>(ids.size())),
                   tr("Delete"))) {
        return;
    }
    for (const auto id : ids) {
        // A message still in the outbox goes with its row.
        Messages.Withdraw(id, tr("deleted from the Message History"));
        Messages.Records().Remove(id);
    }
}

void HistoryFrm::cmdExport_Click() {
    const auto fileName =
        QFileDialog::getSaveFileName(this, tr("Export as CSV"), tr("messages.csv"), tr("CSV files (*.csv)"));
    if (!fileName.isEmpty()) {
        Export(fileName);
    }
}

void HistoryFrm::Export(const QString& fileName) {
    if (Exporting) {
        return;
    }
    Exporting = new HistoryExport(Messages.Records(), Model->Filter(), this);
    if (const auto error = Exporting->Start(fileName); !error.isEmpty()) {
        ExportFinished(fileName, error);
        return;
    }
    cmdExport->setEnabled(false);
    cmdExport->SetEnable(false);
    barExport->setRange(
        0, static_cast<int>(std::min<qint64>(Exporting->Total(), std::numeric_limits<int>::max())));
    barExport->setValue(0);
    barExport->show();
    connect(Exporting, &HistoryExport::Progress, barExport, [this](qint64 written) {
        barExport->setValue(static_cast<int>(std::min<qint64>(written, std::numeric_limits<int>::max())));
    });
    connect(Exporting, &HistoryExport::Finished, this,
            [this, fileName](const QString& error) { ExportFinished(fileName, error); });
}

void HistoryFrm::ExportFinished(const QString& fileName, const QString& error) {
    std::exchange(Exporting, nullptr)->deleteLater();
    barExport->hide();
    cmdExport->setEnabled(true);
    cmdExport->SetEnable(true);
    if (!error.isEmpty()) {
        Warn(tr("%1 could not be written: %2").arg(fileName, error));
    }
}

} // namespace pagewing
