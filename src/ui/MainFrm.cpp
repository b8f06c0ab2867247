#include "ui/MainFrm.h"

#include "desktop/DesktopIntegration.h"
#include "oscar/OscarProtocol.h"
#include "platform/AccountSettings.h"
#include "platform/ProductInfo.h"
#include "platform/RegisteryLoadSave.h"
#include "service/HandedOverSends.h"
#include "service/History.h"
#include "service/MessagingStack.h"
#include "service/Messenger.h"
#include "service/StatusLine.h"
#include "service/TelephoneList.h"
#include "session/GlobalSettings.h"
#include "ui/AboutFrm.h"
#include "ui/CaptionDrag.h"
#include "ui/CaptionMenuButton.h"
#include "ui/HistoryFrm.h"
#include "ui/LimitedTextEdit.h"
#include "ui/MinMaxCloseButtons.h"
#include "ui/MnuFrm.h"
#include "ui/NumberListPruner.h"
#include "ui/PictureButton.h"
#include "ui/Pictures.h"
#include "ui/ScreenPlacement.h"
#include "ui/SkinnedWindow.h"
#include "ui/StatusList.h"
#include "ui/UserServerInfo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace pagewing {

namespace {

// Design places are in twips, fifteen to the pixel.
QRect Twips(int left, int top, int width, int height) {
    constexpr auto p = MainFrm::TwipsPerPixel;
    return {left / p, top / p, width / p, height / p};
}

template <typename Control>
Control* Place(Control* control, const char* name, const QRect& place) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(place);
    return control;
}

QString Text(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

} // namespace

MainFrm::MainFrm(DesktopIntegration& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , Desktop(desktop)
    , Stack(std::make_unique<MessagingStack>(MessagingStack::FrontEnd::Window, this))
    , Background(Pictures::Load(QStringLiteral(":/skins/main-background.png"))) {
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(ProductInfo::Name);
    setWindowIcon(QIcon(QStringLiteral(":/icons/pagewing-64.png")));
    setFixedSize(342, 459);
    BuildControls();
    CommandMenu = new MnuFrm(Desktop, this);
    ConnectCommandMenu();
    auto& messages = Messages();
    connect(&messages, &Messenger::Reported, this,
            [this](const StatusReport& report) { AddStatusLine(report.Shown()); });
    connect(&messages, &Messenger::NumbersChanged, this, &MainFrm::RefreshTelephoneCombo);
    connect(&messages, &Messenger::MessageFinished, this, &MainFrm::MessageFinished);
    connect(&messages, &Messenger::ConnectionChanged, this, &MainFrm::ConnectionChanged);
    connect(&messages, &Messenger::OutboxChanged, this, &MainFrm::ShowWaiting);
    BuildCommandMenuAccess();
    connect(&Desktop, &DesktopIntegration::ShowOrHideRequested, this, &MainFrm::ShowOrHide);
    connect(&Desktop, &DesktopIntegration::MenuRequested, this, &MainFrm::OpenCommandMenu);
    connect(&Desktop, &DesktopIntegration::OpenFailed, this, &MainFrm::Note);
    connect(&Desktop, &DesktopIntegration::NoticeClicked, this, &MainFrm::BringToFront);
    RegisteryLoadSave::OnSaveFailed(
        [this](const QString& fileName) { Note(tr("Settings could not be saved to %1").arg(fileName)); });
    MoveSettled.setSingleShot(true);
    MoveSettled.setInterval(400);
    connect(&MoveSettled, &QTimer::timeout, this, &MainFrm::RecordPosition);
}

MainFrm::~MainFrm() {
    RegisteryLoadSave::OnSaveFailed({});
}

Messenger& MainFrm::Messages() {
    return Stack->Messages();
}

void MainFrm::BuildControls() {
    setStyleSheet(SkinnedWindow::StyleSheet());

    Image1 = Place(new QLabel(this), "Image1", Twips(0, 0, 5130, 360));
    Image1->setPixmap(Pictures::Load(QStringLiteral(":/skins/main-title.png")));
    TitleDrag =
        new CaptionDrag(Image1, this, Desktop, CaptionDrag::Buttons::LeftOnly, CaptionDrag::Edges::Snap);
    connect(TitleDrag, &CaptionDrag::DragFinished, this, &MainFrm::RecordPosition);

    cmbMobileNumber = Place(new QComboBox(this), "cmbMobileNumber", Twips(330, 675, 4470, 315));
    cmbMobileNumber->setEditable(true);
    cmbMobileNumber->setInsertPolicy(QComboBox::NoInsert);
    cmbMobileNumber->setAccessibleName(tr("Mobile number"));
    cmbMobileNumber->lineEdit()->setPlaceholderText(tr("Name and number, e.g. Ann +15551234567"));
    new NumberListPruner(*cmbMobileNumber);

    txtSenderID = Place(new QLineEdit(this), "txtSenderID", Twips(330, 1305, 4455, 285));
    txtSenderID->setAccessibleName(tr("Sender name"));
    txtSenderID->setMaxLength(SenderNameLength);

    txtSMS = Place(new LimitedTextEdit(this), "txtSMS", Twips(330, 1920, 4455, 1815));
    txtSMS->setAccessibleName(tr("Message"));
    txtSMS->SetMaxLength(Allowance);

    ProgressMessageLength =
        Place(new QProgressBar(this), "ProgressMessageLength", Twips(345, 3885, 4425, 255));
    ProgressMessageLength->setRange(0, Allowance);
    ProgressMessageLength->setValue(0);
    ProgressMessageLength->setFormat(tr("%v of %m characters"));
    ProgressMessageLength->setAccessibleName(tr("Characters used"));

    cmdClearMessage = Place(new PictureButton(PictureButton::ClearButton, this), "cmdClearMessage",
                            Twips(330, 4395, 1500, 300));
    cmdSendMessage = Place(new PictureButton(PictureButton::SendButton, this), "cmdSendMessage",
                           Twips(3285, 4395, 1500, 300));
    // Between the buttons, right over the status list: what the Send button left waiting.
    lblWaiting = Place(new QLabel(this), "lblWaiting", Twips(1860, 4395, 1395, 300));
    lblWaiting->setAlignment(Qt::AlignCenter);
    lblWaiting->hide();

    lstStatus = Place(new StatusList(this), "lstStatus", Twips(165, 4770, 4800, 1785));
    lstStatus->setAccessibleName(tr("Status"));
    connect(lstStatus, &StatusList::SaveFailed, this, [this](const QString& fileName) {
        Note(tr("The status lines could not be saved to %1").arg(fileName));
    });

    CloseButton = Place(new MinMaxCloseButtons(this), "CloseButton", Twips(4770, 60, 240, 240));
    MaximizeButton = Place(new MinMaxCloseButtons(this), "MaximizeButton", Twips(4500, 60, 240, 240));
    MinimizeButton = Place(new MinMaxCloseButtons(this), "MinimizeButton", Twips(4230, 60, 240, 240));

    SkinnedWindow::ChainTabOrder(
        {cmbMobileNumber, txtSenderID, txtSMS, cmdClearMessage, cmdSendMessage, lstStatus});

    connect(txtSenderID, &QLineEdit::textChanged, this, &MainFrm::UpdateLimits);
    connect(txtSMS, &QPlainTextEdit::textChanged, this, &MainFrm::UpdateLimits);
    connect(cmdSendMessage, &ImageButton::Click, this, &MainFrm::cmdSendMessage_Click);
    connect(cmdClearMessage, &ImageButton::Click, this, &MainFrm::cmdClearMessage_Click);
    connect(MinimizeButton, &ImageButton::Click, this, &MainFrm::ShowOrHide);
    connect(CloseButton, &ImageButton::Click, this, &QWidget::close);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* send =
            new QShortcut(QKeySequence(Qt::CTRL | key), txtSMS, nullptr, nullptr, Qt::WidgetShortcut);
        connect(send, &QShortcut::activated, cmdSendMessage, &QAbstractButton::click);
    }
    UpdateLimits();
}

void MainFrm::BuildCommandMenuAccess() {
    // The menu is reachable with or without a tray icon: the mark at the left of the caption, a right click
    // anywhere on the caption, and from the keyboard.
    CaptionIcon = Place(new CaptionMenuButton(Image1), "CaptionIcon", QRect(4, 2, 20, 20));
    connect(CaptionIcon, &CaptionMenuButton::MenuRequested, this, &MainFrm::OpenCommandMenu);
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Image1, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { OpenCommandMenu(Image1->mapToGlobal(at)); });
    auto* history = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this);
    connect(history, &QShortcut::activated, this, &MainFrm::ShowHistory);
    // F10 opens it anywhere, as it opens a menu bar. Shift+F10 and the Menu key open the menu of the control
    // that has the focus where it has one of its own (a text box, the status list), and this one elsewhere.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            &MainFrm::OpenCommandMenuAtCaption);
    for (const auto& key : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        connect(new QShortcut(key, this), &QShortcut::activated, this, &MainFrm::OpenFocusedMenu);
    }
}

void MainFrm::ConnectCommandMenu() {
    connect(CommandMenu, &MnuFrm::ShowOrHideChosen, this, &MainFrm::ShowOrHide);
    connect(CommandMenu, &MnuFrm::ReconnectChosen, this, &MainFrm::Reconnect);
    connect(CommandMenu, &MnuFrm::OptionsChosen, this, &MainFrm::ShowOptions);
    connect(CommandMenu, &MnuFrm::AboutChosen, this, &MainFrm::ShowAbout);
    connect(CommandMenu, &MnuFrm::HistoryChosen, this, &MainFrm::ShowHistory);
    connect(CommandMenu, &MnuFrm::ExitChosen, this, &QWidget::close);
    connect(CommandMenu, &MnuFrm::StartAtLogonFailed, this, &MainFrm::StartAtLogonFailed);
    connect(CommandMenu, &MnuFrm::AlwaysOnTopChanged, this, [this] {
        // A hidden window takes the new state when it is next shown.
        if (GlobalSettings.Showing) {
            Desktop.SetAlwaysOnTop(*this, GlobalSettings.TopMost);
        }
    });
}

void MainFrm::OpenCommandMenuAtCaption() {
    OpenCommandMenu(CaptionIcon->mapToGlobal(QPoint(0, CaptionIcon->height())));
}

void MainFrm::OpenFocusedMenu() {
    auto* focus = QApplication::focusWidget();
    if (focus == cmbMobileNumber) {
        focus = cmbMobileNumber->lineEdit();
    }
    if (focus != cmbMobileNumber->lineEdit() && focus != txtSenderID && focus != txtSMS &&
        focus != lstStatus) {
        OpenCommandMenuAtCaption();
        return;
    }
    // Where the caret is, as a desktop puts a menu opened from the keyboard.
    const auto caret = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const auto at = caret.isValid() ? caret.bottomLeft() : QPoint(0, 0);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at));
    QApplication::sendEvent(focus, &event);
}

void MainFrm::Load() {
    MinimizeButton->SetButtonType(MinMaxCloseButtons::Minimize);
    MinimizeButton->SetEnable(true);
    MaximizeButton->SetButtonType(MinMaxCloseButtons::Maximize);
    MaximizeButton->SetEnable(false);
    CloseButton->SetButtonType(MinMaxCloseButtons::Close);
    CloseButton->SetEnable(true);

    RegisteryLoadSave::LoadWindowSettings();
    PlaceWindow();
    CommandMenu->SetCheckMarks(GlobalSettings.StartUp, GlobalSettings.TopMost);
    ApplyVisibility();
    FollowingVisibility = true;
    // After the main window, so that it opens in front of it, but without the keyboard: the user who starts
    // typing at once types into the number box.
    if (GlobalSettings.ShowHelp != 0) {
        About().setAttribute(Qt::WA_ShowWithoutActivating);
        AboutWindow->show();
        AboutWindow->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    // Also where no window manager hands out the focus.
    TakeKeyboardBack();
    if (!Desktop.ReconcileStartAtLogon(GlobalSettings.StartUp)) {
        StartAtLogonFailed();
    }
    RefreshTelephoneCombo();
    cmbMobileNumber->setFocus();
    // A window that starts hidden is never painted: what waits for the first paint is done now.
    if (!Desktop.IsShown(*this)) {
        QTimer::singleShot(0, this, &MainFrm::FinishStartUp);
    }
    // The login waits for the password, which the keyring gives later.
    AccountSettings::Load(Secrets, [this](const AccountSettings::Loaded& loaded) {
        LogInOrAsk(loaded, AccountSettings::IsComplete());
    });
}

void MainFrm::TakeKeyboardBack() {
    if (isVisible() && !isMinimized()) {
        activateWindow();
    }
}

void MainFrm::StartAtLogonFailed() {
    // A check mark would claim a start that will not happen.
    GlobalSettings.StartUp = false;
    CommandMenu->SetCheckMarks(GlobalSettings.StartUp, GlobalSettings.TopMost);
    RegisteryLoadSave::SaveWindowSettings();
    Note(tr("Start at logon is off: %1 could not be written").arg(Desktop.StartAtLogonEntry()));
}

void MainFrm::Note(const QString& message) {
    AddStatusLine(StatusLine::Dated(Clock, message));
}

void MainFrm::ShowOrHide() {
    GlobalSettings.Showing = !GlobalSettings.Showing;
    ApplyVisibility();
    RegisteryLoadSave::SaveWindowSettings();
}

void MainFrm::OpenCommandMenu(QPoint globalPosition) {
    Desktop.PopupMenu(CommandMenu->fl(), *this, globalPosition);
}

void MainFrm::Reconnect() {
    // Never a login with an empty password; what else is wrong the session says itself.
    AccountSettings::ReadPassword(Secrets, [this](const AccountSettings::Loaded& loaded) {
        LogInOrAsk(loaded, !GlobalSettings.ICQPassword.empty());
    });
}

void MainFrm::LogInOrAsk(const AccountSettings::Loaded& loaded, bool canLogIn) {
    for (const auto& line : loaded.Lines()) {
        Note(line);
    }
    using Gap = AccountSettings::PasswordGap;
    if (canLogIn) {
        Messages().LogIn();
    } else if (loaded.Gap != Gap::KeyringLocked && loaded.Gap != Gap::CommandFailed) {
        // A locked keyring and a failing command are mended outside the window, as their note says.
        AskForAccount();
    }
}

void MainFrm::AskForAccount() {
    Note(tr(
        "Not connected: enter the server, port, ICQ number and password under User and Server Information"));
    ShowOptions();
}

void MainFrm::SaveAccount() {
    AccountSettings::Save(Secrets, [this](const QString& note) {
        if (!note.isEmpty()) {
            Note(note);
        }
        Reconnect();
    });
}

void MainFrm::ShowOptions() {
    if (!Options) {
        Options = new UserServerInfo(Desktop, this);
        Options->move(ScreenPlacement::CentredOn(frameGeometry(), Options->size(), AvailableScreen()));
        connect(Options, &UserServerInfo::LoginSettingsEntered, this, &MainFrm::SaveAccount);
        connect(Options, &SkinnedWindow::Hidden, this, &MainFrm::TakeKeyboardBack);
    }
    Options->show();
    Options->raise();
    Options->activateWindow();
}

void MainFrm::ShowAbout() {
    About().show();
    AboutWindow->raise();
    AboutWindow->activateWindow();
}

void MainFrm::ShowHistory() {
    if (!HistoryWindow) {
        // What the last run left is taken up before it is shown.
        Messages().OpenHistory();
        // This window as its parent keeps it over this one; the member still decides when it goes.
        HistoryWindow = std::make_unique<HistoryFrm>(Messages(), Desktop, this);
        HistoryWindow->move(
            ScreenPlacement::CentredOn(frameGeometry(), HistoryWindow->size(), AvailableScreen()));
        connect(HistoryWindow.get(), &SkinnedWindow::Hidden, this, &MainFrm::TakeKeyboardBack);
    }
    HistoryWindow->show();
    HistoryWindow->raise();
    HistoryWindow->activateWindow();
}

AboutFrm& MainFrm::About() {
    // Made when first shown: a user who switched it off at start does not pay for its pictures.
    if (!AboutWindow) {
        AboutWindow = std::make_unique<AboutFrm>(Desktop, this);
        AboutWindow->move(ScreenPlacement::Beside(frameGeometry(), AboutWindow->size(), AvailableScreen()));
        connect(AboutWindow.get(), &SkinnedWindow::Hidden, this, &MainFrm::TakeKeyboardBack);
    }
    return *AboutWindow;
}

void MainFrm::BringToFront(const QString& activationToken) {
    GlobalSettings.Showing = true;
    ApplyVisibility(activationToken);
    RegisteryLoadSave::SaveWindowSettings();
}

void MainFrm::AnswerSecondStart(const QString& activationToken) {
    Note(ProductInfo::AlreadyRunning);
    BringToFront(activationToken);
}

void MainFrm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, Background);
    if (!std::exchange(Painted, true)) {
        // What the first sight of the window does not need waits until it is there.
        QTimer::singleShot(0, this, &MainFrm::FinishStartUp);
    }
}

void MainFrm::FinishStartUp() {
    if (std::exchange(StartUpFinished, true)) {
        return;
    }
    Desktop.ShowTrayIcon(*this, ProductInfo::NameAndVersion);
    Desktop.FollowMessages(Messages());
    ShowWaiting();
    Messages().TakeUpLastRun();
    emit StartedUp();
}

void MainFrm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!TitleDrag->IsDragging() && Desktop.CanPlaceWindows()) {
        MoveSettled.start();
    }
}

void MainFrm::closeEvent(QCloseEvent* event) {
    if (!MayExitWithQueue()) {
        event->ignore();
        return;
    }
    // Nothing is saved here: every setting was saved when it changed.
    FollowingVisibility = false;
    Desktop.RemoveTrayIcon();
    HistoryWindow.reset();
    Stack.reset();
    event->accept();
    QApplication::quit();
}

bool MainFrm::MayExitWithQueue() {
    const auto queued = Stack ? Messages().Queued() : 0;
    if (queued == 0) {
        return true;
    }
    QMessageBox question(QMessageBox::Question, ProductInfo::Name,
                         (queued == 1 ? tr("1 message is waiting to be sent.")
                                      : tr("%1 messages are waiting to be sent.").arg(queued)) +
                             u' ' + tr("Exit anyway? They will be sent at the next start."),
                         QMessageBox::NoButton, this);
    auto* exit = question.addButton(tr("Exit"), QMessageBox::AcceptRole);
    question.addButton(QMessageBox::Cancel);
    question.setDefaultButton(QMessageBox::Cancel);
    question.exec();
    return question.clickedButton() == exit;
}

void MainFrm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Activation tells of a Wayland window restored from minimised, which no state change does.
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange) {
        FollowVisibility();
    }
}

void MainFrm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FollowVisibility();
}

void MainFrm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    FollowVisibility();
}

QRect MainFrm::AvailableScreen() const {
    const auto* current = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    return current->availableGeometry();
}

void MainFrm::PlaceWindow() {
    // Where the compositor places windows, it also remembers where.
    if (!Desktop.CanPlaceWindows()) {
        return;
    }
    const QPoint stored(GlobalSettings.SaveLeft / TwipsPerPixel, GlobalSettings.SaveTop / TwipsPerPixel);
    QList<QRect> screens;
    for (const auto* screen : QGuiApplication::screens()) {
        screens.append(screen->geometry());
    }
    move(ScreenPlacement::KeepReachable(QRect(stored, size()), Image1->height(), screens));
}

void MainFrm::UpdateLimits() {
    const auto senderLength = static_cast<int>(txtSenderID->text().size());
    const auto messageLength = txtSMS->TextLength();
    const auto senderAllowance = std::min(SenderNameLength, Allowance - messageLength);
    // Text already in a field is never cut: the limit only stops what would be added.
    txtSenderID->setMaxLength(std::max({senderAllowance, senderLength, 0}));
    txtSMS->SetMaxLength(Allowance - senderLength);
    ProgressMessageLength->setValue(std::min(Allowance, senderLength + messageLength));
}

void MainFrm::RecordPosition() {
    MoveSettled.stop();
    GlobalSettings.SaveLeft = x() * TwipsPerPixel;
    GlobalSettings.SaveTop = y() * TwipsPerPixel;
    RegisteryLoadSave::SaveWindowSettings();
}

void MainFrm::ApplyVisibility(const QString& activationToken) {
    // The window's own changes on the way must not count as the user's.
    const bool following = std::exchange(FollowingVisibility, false);
    CommandMenu->SetShowing(GlobalSettings.Showing);
    if (GlobalSettings.Showing) {
        Desktop.SetAlwaysOnTop(*this, GlobalSettings.TopMost);
        Desktop.ShowWindow(*this, activationToken);
    } else {
        Desktop.HideWindow(*this);
    }
    FollowingVisibility = following;
}

void MainFrm::FollowVisibility() {
    const bool showing = Desktop.IsShown(*this);
    if (!FollowingVisibility || showing == GlobalSettings.Showing) {
        return;
    }
    GlobalSettings.Showing = showing;
    CommandMenu->SetShowing(showing);
    RegisteryLoadSave::SaveWindowSettings();
}

void MainFrm::SendHandedOver(const SendRequest& request, HandOverReply* reply) {
    Stack->HandOvers()->Add(request, reply);
}

void MainFrm::cmdSendMessage_Click() {
    Messages().Submit(
        {cmbMobileNumber->currentText(), txtSenderID->text(), txtSMS->Text(), MessageOrigin::Window});
}

void MainFrm::cmdClearMessage_Click() {
    txtSenderID->clear();
    txtSMS->clear();
    txtSenderID->setFocus();
}

void MainFrm::RefreshTelephoneCombo() {
    RegisteryLoadSave::LoadTelephoneList();
    const auto current = cmbMobileNumber->currentText();
    cmbMobileNumber->clear();
    cmbMobileNumber->addItems(TelephoneList::Entries(Text(GlobalSettings.TelephoneList)));
    cmbMobileNumber->setEditText(current);
}

void MainFrm::AddStatusLine(const QString& line) {
    lstStatus->AddLine(line);
}

void MainFrm::MessageFinished(const MessageRecord& record) {
    if (Desktop.IsShown(*this)) {
        return;
    }
    // Titled by what happened. Who it was for, by name and number as sent, and why: a notice may come long
    // after the message.
    const auto to = tr("To %1").arg(record.To());
    const auto why = record.State == MessageState::Refused ? record.Outcome() : record.Detail;
    Desktop.Notify(NoticeTitle(record.State), why.isEmpty() ? to : tr("%1: %2").arg(to, why));
}

QString MainFrm::NoticeTitle(MessageState state) {
    switch (state) {
    case MessageState::Delivered:
        return tr("Message delivered");
    case MessageState::NotDelivered:
        return tr("Message not delivered");
    case MessageState::Refused:
        return tr("Message refused");
    case MessageState::Unknown:
        return tr("Message may not have been delivered");
    default:
        return tr("Message not sent");
    }
}

void MainFrm::ConnectionChanged(Messenger::Connection previous, Messenger::Connection current) {
    // A connection lost while nobody looks is worth a notice; the login that follows is not.
    if (previous == Messenger::Connection::Ready && !Desktop.IsShown(*this)) {
        Desktop.Notify(tr("Connection lost"), current == Messenger::Connection::WaitingForUser
                                                  ? tr("Not reconnecting by itself: the status list says why")
                                                  : tr("Reconnecting by itself"));
    }
    // The session's line said what was refused; only the options mend the account or the settings, though
    // not a client version.
    const auto& failure = Messages().LastFailure();
    if (current == Messenger::Connection::WaitingForUser && failure.Kind == SessionFailure::AccountRefused &&
        failure.Code != Oscar::OldClientCode) {
        Note(tr("Correct it under User and Server Information."));
    }
    ShowWaiting();
}

void MainFrm::ShowWaiting() {
    auto& messages = Messages();
    const auto queued = messages.Queued();
    const bool ready = messages.State() == Messenger::Connection::Ready;
    // The button always sends; while not connected it says that sending means queueing.
    const auto send = ready ? tr("Send Message") : tr("Queue: sent when connected");
    cmdSendMessage->setToolTip(send);
    cmdSendMessage->setAccessibleDescription(ready ? QString() : send);
    const auto waiting = queued == 1 ? tr("1 message waiting") : tr("%1 messages waiting").arg(queued);
    lblWaiting->setText(tr("%1 waiting").arg(queued));
    lblWaiting->setToolTip(waiting);
    lblWaiting->setAccessibleName(waiting);
    lblWaiting->setVisible(queued > 0);
}

} // namespace pagewing
