#pragma once

#include "ui/SkinnedWindow.h"

class QLineEdit;
class QTableView;

namespace pagewing {

class DesktopIntegration;
class PictureButton;
class HistoryModel;
class Messenger;

// Every message Pagewing was asked to send, newest first, with how it ended; a filter over number, name, text
// and outcome; and what can be done with the rows chosen: send them again, copy them, delete them, or export
// them all as CSV. It follows the history while outcomes arrive. Closing it only hides it.
class HistoryFrm : public SkinnedWindow {
    Q_OBJECT

public:
    HistoryFrm(Messenger& messages, DesktopIntegration& desktop, QWidget* parent = nullptr);

    // Writes every message the filter lets through, newest first, as CSV; the error, or empty.
    QString ExportTo(const QString& fileName) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void cmdSendAgain_Click();
    void cmdCopy_Click();
    void cmdDelete_Click();
    void cmdExport_Click();
    // The ids of the chosen rows, oldest first.
    QList<qint64> Chosen() const;

    Messenger& Messages;
    HistoryModel* Model;
    QLineEdit* txtFilter;
    QTableView* lstHistory;
    PictureButton* cmdSendAgain;
    PictureButton* cmdCopy;
    PictureButton* cmdDelete;
    PictureButton* cmdExport;
    PictureButton* cmdClose;
};

} // namespace pagewing
