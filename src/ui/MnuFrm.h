#pragma once

#include <QObject>

#include <memory>

class QAction;
class QMenu;

namespace pagewing {

class DesktopIntegration;

// The command menu that the tray icon and the main window's caption open: show or hide, reconnect, get an
// ICQ number, the options, start at logon, always on top, help, About, the message history and exit. What the
// desktop alone does (a link, the help page, start at logon) it does itself; what concerns the window it
// signals, and the window connects.
class MnuFrm : public QObject {
    Q_OBJECT

public:
    static constexpr const char* HideCaption = "Hide (Or Click On Tray Icon)";
    static constexpr const char* ShowCaption = "Show (Or Click On Tray Icon)";

    MnuFrm(DesktopIntegration& desktop, QObject* parent);
    ~MnuFrm() override;

    QMenu& fl();
    // The hos item's caption follows the main window: Hide while it is shown, Show while it is hidden. The
    // tray icon is named only where there is one.
    void SetShowing(bool showing);
    void SetCheckMarks(bool startUp, bool topMost);

signals:
    void ShowOrHideChosen();
    void ReconnectChosen();
    void OptionsChosen();
    void AboutChosen();
    void HistoryChosen();
    void ExitChosen();
    // Always On Top was switched; GlobalSettings.TopMost holds the new choice.
    void AlwaysOnTopChanged();
    // The start-at-logon entry could not be written for the new choice.
    void StartAtLogonFailed();

private:
    void hos_Click();
    void rct_Click();
    void gin_Click();
    void usi_Click();
    void rwws_Click();
    void aot_Click();
    void hlpt_Click();
    void abt_Click();
    void hst_Click();
    void ex_Click();

    void BuildMenu();
    // Puts the captions and check marks in line with what the window and the settings are now.
    void Refresh();
    QAction* AddItem(const char* name, const QString& caption, void (MnuFrm::*handler)());

    DesktopIntegration& Desktop;
    std::unique_ptr<QMenu> Menu;
    QAction* hos = nullptr;
    QAction* rwws = nullptr;
    QAction* aot = nullptr;
    bool Showing = false;
    bool StartUp = false;
    bool TopMost = false;
};

} // namespace pagewing
