#include "platform/HandOverClient.h"

#include "platform/SingleCopy.h"

#include <QDataStream>
#include <QLocalSocket>
#include <QTimer>

#include <algorithm>

namespace pagewing {

struct HandOverClient::HandedOver {
    QLocalSocket Socket;
    bool Taken = false;
    bool Sent = false;
    std::optional<MessageOutcome> Outcome;
};

namespace {

QString StoppedWaiting() {
    return QStringLiteral("the command stopped waiting");
}

} // namespace

HandOverClient::HandOverClient(ReportHandler onReport)
    : OnReport(std::move(onReport)) {}

HandOverClient::~HandOverClient() = default;

std::optional<QList<MessageOutcome>> HandOverClient::Run(const QList<SendRequest>& requests,
                                                         std::chrono::milliseconds timeout,
                                                         ReportHandler onReport) {
    const QDeadlineTimer deadline(timeout);
    HandOverClient client(std::move(onReport));
    for (const auto& request : requests) {
        if (!client.HandOver(request, deadline)) {
            break;
        }
    }
    if (client.Messages.empty()) {
        return std::nullopt;
    }
    if (!client.WaitUntil([&client] { return client.AllEnded(); }, deadline)) {
        client.StopWaiting();
    }
    return client.Outcomes();
}

bool HandOverClient::HandOver(const SendRequest& request, const QDeadlineTimer& deadline) {
    auto message = std::make_unique<HandedOver>();
    auto* handed = message.get();
    handed->Socket.connectToServer(SingleCopy::SocketName());
    if (!handed->Socket.waitForConnected(SingleCopy::ConnectTimeoutMs)) {
        return false;
    }
    connect(&handed->Socket, &QLocalSocket::readyRead, this, [this, handed] {
        Read(*handed);
        Loop.quit();
    });
    connect(&handed->Socket, &QLocalSocket::disconnected, &Loop, &QEventLoop::quit);
    QDataStream stream(&handed->Socket);
    stream.setVersion(SingleCopy::StreamVersion);
    stream << static_cast<quint8>(SingleCopy::Request::Send) << request.Number << request.Sender
           << request.Message;
    Messages.push_back(std::move(message));
    // The next one waits until this one is in the outbox. A window that went away before it took this one
    // never had it, and takes no more: they are the command's to send.
    WaitUntil(
        [handed] {
            return handed->Taken || handed->Outcome || handed->Socket.state() != QLocalSocket::ConnectedState;
        },
        deadline);
    if (handed->Taken || handed->Outcome) {
        return true;
    }
    Messages.pop_back();
    return false;
}

void HandOverClient::StopWaiting() {
    for (const auto& message : Messages) {
        if (!message->Outcome && message->Socket.state() == QLocalSocket::ConnectedState) {
            QDataStream stream(&message->Socket);
            stream.setVersion(SingleCopy::StreamVersion);
            stream << static_cast<quint8>(SingleCopy::Request::Withdraw);
        }
    }
    WaitUntil([this] { return AllEnded(); }, QDeadlineTimer(LastWordTime));
}

QList<MessageOutcome> HandOverClient::Outcomes() const {
    QList<MessageOutcome> outcomes;
    for (const auto& message : Messages) {
        if (message->Outcome) {
            outcomes.append(*message->Outcome);
        } else if (message->Socket.state() == QLocalSocket::ConnectedState) {
            // The window did not give its last word in time: the command says what it knows.
            outcomes.append({message->Sent ? SendExit::NoAnswer : SendExit::NotSentInTime, StoppedWaiting()});
        } else {
            // The window went away under the message; a window started later takes up nothing of a command.
            outcomes.append({message->Sent ? SendExit::NoAnswer : SendExit::LoginFailed,
                             QStringLiteral("the window that took it ended")});
        }
    }
    return outcomes;
}

void HandOverClient::Read(HandedOver& message) {
    QDataStream stream(&message.Socket);
    stream.setVersion(SingleCopy::StreamVersion);
    for (;;) {
        stream.startTransaction();
        quint8 kind = 0;
        qint32 exit = 0;
        Report report;
        QString reason;
        stream >> kind;
        switch (static_cast<SingleCopy::Reply>(kind)) {
        case SingleCopy::Reply::Line:
            report.Kind = QStringLiteral("status");
            stream >> report.Line;
            break;
        case SingleCopy::Reply::Report:
            stream >> report.Kind >> report.Destination >> report.Line;
            break;
        case SingleCopy::Reply::Exit:
            stream >> exit;
            break;
        case SingleCopy::Reply::Ended:
            stream >> exit >> reason;
            break;
        case SingleCopy::Reply::Sent:
        case SingleCopy::Reply::Taken:
            break;
        }
        if (!stream.commitTransaction()) {
            return;
        }
        switch (static_cast<SingleCopy::Reply>(kind)) {
        case SingleCopy::Reply::Line:
        case SingleCopy::Reply::Report:
            OnReport(report);
            break;
        case SingleCopy::Reply::Exit:
        case SingleCopy::Reply::Ended:
            message.Outcome = MessageOutcome{static_cast<SendExit>(exit), reason};
            return;
        case SingleCopy::Reply::Sent:
            message.Sent = true;
            break;
        case SingleCopy::Reply::Taken:
            message.Taken = true;
            break;
        }
    }
}

bool HandOverClient::WaitUntil(const std::function<bool()>& done, const QDeadlineTimer& deadline) {
    QTimer expiry;
    expiry.setSingleShot(true);
    connect(&expiry, &QTimer::timeout, &Loop, &QEventLoop::quit);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        expiry.start(std::chrono::milliseconds(std::max<qint64>(deadline.remainingTime(), 1)));
        Loop.exec();
    }
    return true;
}

bool HandOverClient::AllEnded() const {
    return std::all_of(Messages.begin(), Messages.end(), [](const auto& message) {
        return message->Outcome || message->Socket.state() != QLocalSocket::ConnectedState;
    });
}

} // namespace pagewing
