#include "app/CommandLineSender.h"

#include "bytes/Windows1252.h"
#include "session/GlobalSettings.h"
#include "session/SmsText.h"
#include "ui/TelephoneList.h"

#include <QTimer>

namespace pagewing {

CommandLineSender::CommandLineSender(LineSink onLine)
    : OnLine(std::move(onLine))
    , Session(Auth, Service, Clock, Timers, *this) {}

CommandLineSender::~CommandLineSender() = default;

std::optional<QString> CommandLineSender::Problem(const SendRequest& request) {
    const auto number = TelephoneList::DestinationNumber(request.Number);
    if (number.isEmpty()) {
        return QStringLiteral("\"%1\" names no number to send to").arg(request.Number);
    }
    if (!Windows1252::CanEncode(number.toStdU16String())) {
        return QStringLiteral("the number \"%1\" holds a character that cannot be sent (Windows-1252 only)")
            .arg(number);
    }
    const auto problem = SmsText::Problem(request.Sender.toStdU16String(), request.Message.toStdU16String());
    return problem ? std::optional(QString::fromStdU16String(*problem)) : std::nullopt;
}

SendExit CommandLineSender::Run(const SendRequest& request, std::chrono::seconds timeout) {
    Request = request;
    QTimer::singleShot(timeout, &Loop, [this] { Finish(SendExit::NoAnswer); });
    Session.ConnectReconnect(GlobalSettings.LoginURL, GlobalSettings.LoginPort);
    if (!Outcome) {
        Loop.exec();
    }
    return *Outcome;
}

void CommandLineSender::ReportMessage(const std::u16string& Message) {
    OnLine(QString::fromStdU16String(Message));
}

void CommandLineSender::ReadyToSendMessage() {
    if (Sent) {
        return;
    }
    Sent = true;
    const auto text = SmsText::Compose(Request.Sender.toStdU16String(), Request.Message.toStdU16String());
    const auto written = TelephoneList::SendToEntry(Session, Request.Number, text);
    // As the window does, whatever becomes of the message.
    TelephoneList::Remember(Request.Number);
    if (!written) {
        Finish(SendExit::LoginFailed);
    }
}

void CommandLineSender::MustReconnect() {
    Finish(SendExit::LoginFailed);
}

void CommandLineSender::MessageAnswered(SmsOutcome answer, const std::vector<std::u16string>&) {
    Finish(ExitFor(answer));
}

void CommandLineSender::SessionFailed() {
    Finish(SendExit::LoginFailed);
}

void CommandLineSender::Finish(SendExit outcome) {
    if (!Outcome) {
        Outcome = outcome;
        Loop.quit();
    }
}

} // namespace pagewing
