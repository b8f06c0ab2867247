#pragma once

#include "ui/SkinnedWindow.h"

class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QTableView;

namespace pagewing {

class DesktopIntegration;
class HistoryExport;
class HistoryModel;
class Messenger;
class PictureButton;

// Every message Pagewing was asked to send, newest first, with how it ended; a filter over number, name, text
// and outcome; the chosen message in full under the table; and what can be done with the rows chosen: send
// them again, copy them, delete them, or export them all as CSV. It follows the history while outcomes
// arrive. It can be resized, and its size and column widths are remembered. Closing it only hides it.
class HistoryFrm : public SkinnedWindow {
    Q_OBJECT

public:
    HistoryFrm(Messenger& messages, DesktopIntegration& desktop, QWidget* parent = nullptr);
    ~HistoryFrm() override;

    // Starts writing every message the filter lets through, newest first, as CSV, while the window goes on
    // answering; a bar shows how far it is, and a message box any error at the end.
    void Export(const QString& fileName);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void cmdSendAgain_Click();
    void cmdCopy_Click();
    void cmdDelete_Click();
    void cmdExport_Click();
    void ExportFinished(const QString& fileName, const QString& error);
    // The buttons and the details follow the rows chosen.
    void ShowChoice();
    // Several rows are acted on only once the user says so.
    bool Confirmed(const QString& question, const QString& action);
    void Warn(const QString& text);
    void RestoreSize();
    void RememberSize() const;
    // The ids of the chosen rows, oldest first.
    QList<qint64> Chosen() const;

    Messenger& Messages;
    HistoryModel* Model;
    HistoryExport* Exporting = nullptr;
    QLineEdit* txtFilter;
    QTableView* lstHistory;
    QPlainTextEdit* txtDetails;
    QProgressBar* barExport;
    PictureButton* cmdSendAgain;
    PictureButton* cmdCopy;
    PictureButton* cmdDelete;
    PictureButton* cmdExport;
    PictureButton* cmdClose;
};

} // namespace pagewing
