#pragma once

#include "platform/AccountSettings.h"
#include "platform/Keyring.h"
#include "platform/LocaleStatusClock.h"
#include "platform/SendRequest.h"
#include "service/MessageRecord.h"
#include "service/Messenger.h"
#include "session/SmsText.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;

namespace pagewing {

class AboutFrm;
class HandOverReply;
class HistoryFrm;
class MessagingStack;
class CaptionDrag;
class CaptionMenuButton;
class DesktopIntegration;
class MnuFrm;
class UserServerInfo;
class LimitedTextEdit;
class MinMaxCloseButtons;
class PictureButton;
class StatusList;

// The program's one skinned window: the number box with every number used so far, the sender name and the
// message within a 140-character allowance, Send and Clear, the status list into which every stage and
// outcome is written, and how many messages wait to go out. It owns the messaging service (the session, its
// connections, the outbox, the history and the hand-overs) and follows it: its connection is the only
// "connected" the window knows. It reaches the desktop only through the desktop integration it is given.
class MainFrm : public QWidget {
    Q_OBJECT

public:
    static constexpr int Allowance = SmsText::Allowance;
    static constexpr int SenderNameLength = SmsText::SenderNameLength;
    static constexpr int TwipsPerPixel = 15;

    explicit MainFrm(DesktopIntegration& desktop, QWidget* parent = nullptr);
    ~MainFrm() override;

    // The start-up: window settings and position, the telephone list, then the login when the account is
    // complete.
    void Load();
    // Toggles between shown and hidden and saves the choice. Where the desktop has no notification area to
    // bring the window back from, hiding minimises it instead.
    void ShowOrHide();
    // Opens the command menu at a point on the screen.
    void OpenCommandMenu(QPoint globalPosition);
    // Logs in again at once with the stored server and account, once the keyring has given the password.
    void Reconnect();
    // Adds a dated status line of the window's own.
    void Note(const QString& message);
    // The start-at-logon entry could not be written: the option goes off, and the status list says why.
    void StartAtLogonFailed();
    // Opens the options, or brings up the one already open with what was typed in it.
    void ShowOptions();
    void ShowAbout();
    // Opens the Message History, made when first asked for.
    void ShowHistory();
    // Shows the window in front of the others, as when a second copy of the program was started or a notice
    // was clicked, with the activation token that came with the request, if any.
    void BringToFront(const QString& activationToken = {});
    // Another start of the program asked for this window: it comes forward and says that it runs already,
    // while that start ends by itself.
    void AnswerSecondStart(const QString& activationToken);
    // Sends a message that `pagewing --send` handed over, as soon as the login allows, and tells the
    // command how it went.
    void SendHandedOver(const SendRequest& request, HandOverReply* reply);

    MnuFrm& Menu() { return *CommandMenu; }
    Messenger& Messages();
    // The one About window; closing it only hides it.
    AboutFrm& About();

signals:
    // What the first sight of the window does not need is done: the tray icon is up and the last run's
    // messages are taken up. Comes after the first paint, or right after the start-up when the window starts
    // hidden.
    void StartedUp();

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Asks before messages waiting to go out are left for the next start; false when the user stays.
    bool MayExitWithQueue();
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildControls();
    void ConnectCommandMenu();
    void BuildCommandMenuAccess();
    void OpenCommandMenuAtCaption();
    // Shift+F10 and the Menu key: the focused control's own menu, or the command menu.
    void OpenFocusedMenu();
    void PlaceWindow();
    QRect AvailableScreen() const;
    void UpdateLimits();
    void RecordPosition();
    void ApplyVisibility(const QString& activationToken = {});
    // Makes the window the one that typing goes to again, once a window over it is gone.
    void TakeKeyboardBack();
    // Showing follows what the window really is, however it got there: task bar, window manager or menu.
    void FollowVisibility();
    // No login without an account: says so and opens the options.
    void AskForAccount();
    // Logs in once the password has come, or says why it has not and asks where the options can help.
    void LogInOrAsk(const AccountSettings::Loaded& loaded, bool canLogIn);
    // Stores what the options dialog took, then logs in with it.
    void SaveAccount();
    void cmdSendMessage_Click();
    void cmdClearMessage_Click();
    void RefreshTelephoneCombo();
    void AddStatusLine(const QString& line);
    // The start-up work that the first sight of the window does not need.
    void FinishStartUp();
    // Notices for a window nobody looks at: how a message ended, a connection lost.
    void MessageFinished(const MessageRecord& record);
    static QString NoticeTitle(MessageState state);
    // The Send button, the count of waiting messages and the tray icon follow the messaging service.
    void ConnectionChanged(Messenger::Connection previous, Messenger::Connection current);
    void ShowWaiting();

    DesktopIntegration& Desktop;
    LocaleStatusClock Clock;
    Keyring Secrets;
    std::unique_ptr<MessagingStack> Stack;

    StatusList* lstStatus = nullptr;
    LimitedTextEdit* txtSMS = nullptr;
    QLineEdit* txtSenderID = nullptr;
    QComboBox* cmbMobileNumber = nullptr;
    QLabel* Image1 = nullptr;
    PictureButton* cmdClearMessage = nullptr;
    PictureButton* cmdSendMessage = nullptr;
    MinMaxCloseButtons* CloseButton = nullptr;
    MinMaxCloseButtons* MaximizeButton = nullptr;
    MinMaxCloseButtons* MinimizeButton = nullptr;
    QProgressBar* ProgressMessageLength = nullptr;
    // How many messages wait to go out; hidden while none does.
    QLabel* lblWaiting = nullptr;
    CaptionDrag* TitleDrag = nullptr;
    CaptionMenuButton* CaptionIcon = nullptr;
    MnuFrm* CommandMenu = nullptr;
    std::unique_ptr<AboutFrm> AboutWindow;
    std::unique_ptr<HistoryFrm> HistoryWindow;
    QPointer<UserServerInfo> Options;

    // Set from the start-up until the window closes: the only time its visibility is the user's choice.
    bool FollowingVisibility = false;
    bool Painted = false;
    bool StartUpFinished = false;
    QPixmap Background;
    // Saves the position once a move that did not come from the title strip has settled.
    QTimer MoveSettled;
};

} // namespace pagewing
