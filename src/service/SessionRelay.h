#pragma once

#include "service/Messenger.h"
#include "session/SMSSenderEvents.h"

namespace pagewing {

// The session's events, passed on to the messaging service, which is made after the session it sends through.
class SessionRelay : public SMSSenderEvents {
public:
    void RelayTo(Messenger& messages) { Messages = &messages; }

    void ReportMessage(const std::u16string& Message) override { Messages->ReportMessage(Message); }
    void ReportRequestMessage(RequestTag Tag, const std::u16string& Message) override {
        Messages->ReportRequestMessage(Tag, Message);
    }
    void NotReadyToSendMessage() override { Messages->NotReadyToSendMessage(); }
    void ReadyToSendMessage() override { Messages->ReadyToSendMessage(); }
    void MustReconnect() override { Messages->MustReconnect(); }
    void MessageAnswered(RequestTag Tag, const SmsAnswer& Answer,
                         const std::vector<std::u16string>& Lines) override {
        Messages->MessageAnswered(Tag, Answer, Lines);
    }
    void AnswerOverdue(RequestTag Tag) override { Messages->AnswerOverdue(Tag); }
    void SessionFailed(const SessionEnd& End) override { Messages->SessionFailed(End); }

private:
    Messenger* Messages = nullptr;
};

} // namespace pagewing
