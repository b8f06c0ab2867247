#include "ui/MnuFrm.h"

#include "desktop/DesktopIntegration.h"
#include "platform/ProductInfo.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "ui/SkinnedWindow.h"

#include <QMenu>

namespace pagewing {

MnuFrm::MnuFrm(DesktopIntegration& desktop, QObject* parent)
    : QObject(parent)
    , Desktop(desktop) {}

MnuFrm::~MnuFrm() = default;

QMenu& MnuFrm::fl() {
    if (!Menu) {
        BuildMenu();
    }
    return *Menu;
}

void MnuFrm::SetShowing(bool showing) {
    Showing = showing;
    Refresh();
}

void MnuFrm::SetCheckMarks(bool startUp, bool topMost) {
    StartUp = startUp;
    TopMost = topMost;
    Refresh();
}

void MnuFrm::BuildMenu() {
    // Made when first needed: many runs never open it, and the window comes up sooner without it.
    Menu = std::make_unique<QMenu>(tr("File"));
    Menu->setObjectName(QStringLiteral("fl"));
    // A window of its own, so the main window's style sheet does not reach it.
    Menu->setStyleSheet(SkinnedWindow::StyleSheet());
    hos = AddItem("hos", QString(), &MnuFrm::hos_Click);
    AddItem("rct", tr("Reconnect"), &MnuFrm::rct_Click);
    AddItem("gin", tr("Get ICQ Number (UIN)"), &MnuFrm::gin_Click);
    AddItem("usi", tr("User and Server Information"), &MnuFrm::usi_Click);
    rwws = AddItem("rwws", tr("Run When Windows Starts"), &MnuFrm::rwws_Click);
    aot = AddItem("aot", tr("Always On Top"), &MnuFrm::aot_Click);
    AddItem("hlpt", tr("Help Topics"), &MnuFrm::hlpt_Click);
    AddItem("abt", tr("About"), &MnuFrm::abt_Click);
    AddItem("hst", tr("Message History"), &MnuFrm::hst_Click);
    AddItem("ex", tr("Exit"), &MnuFrm::ex_Click);
    rwws->setCheckable(true);
    aot->setCheckable(true);
    if (!Desktop.CanKeepOnTop()) {
        // A check mark would promise what the desktop does not do; the setting is kept for a desktop that
        // does.
        aot->setEnabled(false);
        aot->setToolTip(tr("This desktop does not let a program keep its window above the others"));
        Menu->setToolTipsVisible(true);
    }
    // A notification area may have come or gone since the captions were set.
    connect(Menu.get(), &QMenu::aboutToShow, this, &MnuFrm::Refresh);
    Refresh();
}

void MnuFrm::Refresh() {
    if (!Menu) {
        return;
    }
    if (Desktop.HasTray()) {
        hos->setText(QLatin1String(Showing ? HideCaption : ShowCaption));
    } else {
        hos->setText(Showing ? tr("Hide") : tr("Show"));
    }
    rwws->setChecked(StartUp);
    aot->setChecked(TopMost && aot->isEnabled());
}

QAction* MnuFrm::AddItem(const char* name, const QString& caption, void (MnuFrm::*handler)()) {
    auto* item = Menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    connect(item, &QAction::triggered, this, handler);
    return item;
}

void MnuFrm::hos_Click() {
    emit ShowOrHideChosen();
}

void MnuFrm::rct_Click() {
    emit ReconnectChosen();
}

void MnuFrm::gin_Click() {
    Desktop.OpenLink(ProductInfo::RegistrationPage);
}

void MnuFrm::usi_Click() {
    emit OptionsChosen();
}

void MnuFrm::rwws_Click() {
    GlobalSettings.StartUp = !GlobalSettings.StartUp;
    SetCheckMarks(GlobalSettings.StartUp, GlobalSettings.TopMost);
    if (!Desktop.SetStartAtLogon(GlobalSettings.StartUp)) {
        emit StartAtLogonFailed();
        return;
    }
    RegisteryLoadSave::SaveWindowSettings();
}

void MnuFrm::aot_Click() {
    GlobalSettings.TopMost = !GlobalSettings.TopMost;
    SetCheckMarks(GlobalSettings.StartUp, GlobalSettings.TopMost);
    RegisteryLoadSave::SaveWindowSettings();
    emit AlwaysOnTopChanged();
}

void MnuFrm::hlpt_Click() {
    Desktop.OpenHelp(ProductInfo::HelpFileName);
}

void MnuFrm::abt_Click() {
    emit AboutChosen();
}

void MnuFrm::hst_Click() {
    emit HistoryChosen();
}

void MnuFrm::ex_Click() {
    emit ExitChosen();
}

} // namespace pagewing
