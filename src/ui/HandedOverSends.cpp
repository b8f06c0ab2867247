#include "ui/HandedOverSends.h"

#include "platform/HandOverReply.h"

namespace pagewing {

HandedOverSends::HandedOverSends(Sender send, QObject* parent)
    : QObject(parent)
    , Send(std::move(send)) {}

void HandedOverSends::Add(const SendRequest& request, HandOverReply* reply) {
    if (LoggingIn && !LoggedIn) {
        Waiting.append({request, reply});
    } else {
        SendNow(request, reply);
    }
}

void HandedOverSends::LoginStarted() {
    LoggingIn = true;
    LoggedIn = false;
}

void HandedOverSends::WindowSent() {
    Unanswered.emplace_back();
}

void HandedOverSends::Line(const QString& line) {
    LastLine = line;
    if (Sending) {
        Sending->WriteLine(line);
    }
    // Those that wait for the login see how it goes.
    for (const auto& [request, reply] : Waiting) {
        if (reply) {
            reply->WriteLine(line);
        }
    }
}

void HandedOverSends::NotReady() {
    // A new login, or the service connection gone: no request sent before can be answered now.
    LoggedIn = false;
    FinishUnanswered();
}

void HandedOverSends::Ready() {
    LoggingIn = false;
    LoggedIn = true;
    for (const auto& [request, reply] : std::exchange(Waiting, {})) {
        if (reply) {
            SendNow(request, reply);
        }
    }
}

void HandedOverSends::Answered(SmsOutcome outcome, const QStringList& lines) {
    if (Unanswered.empty()) {
        return;
    }
    const auto reply = Unanswered.front();
    Unanswered.pop_front();
    if (reply) {
        for (const auto& line : lines) {
            reply->WriteLine(line);
        }
        reply->Finish(ExitFor(outcome));
    }
}

void HandedOverSends::Failed() {
    LoggingIn = false;
    for (const auto& [request, reply] : std::exchange(Waiting, {})) {
        if (reply) {
            reply->Finish(SendExit::LoginFailed);
        }
    }
    FinishUnanswered();
}

void HandedOverSends::SendNow(const SendRequest& request, HandOverReply* reply) {
    Sending = reply;
    const bool sent = Send(request);
    Sending = nullptr;
    if (sent) {
        Unanswered.emplace_back(reply);
    } else if (reply) {
        reply->Finish(SendExit::LoginFailed);
    }
}

void HandedOverSends::FinishUnanswered() {
    while (!Unanswered.empty()) {
        if (auto reply = Unanswered.front()) {
            reply->WriteLine(LastLine);
            reply->Finish(SendExit::LoginFailed);
        }
        Unanswered.pop_front();
    }
}

} // namespace pagewing
