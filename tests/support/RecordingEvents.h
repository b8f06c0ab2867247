#pragma once

#include "session/SMSSenderEvents.h"
#include "session/StatusClock.h"

#include <functional>
#include <string>
#include <vector>

namespace pagewing::test {

class FixedClock : public StatusClock {
public:
    std::u16string CurrentDateTimeText() const override { return u"12/5/2026 2:06:37 AM"; }
};

// Every event in the order raised, in Log: "line: " and the status line without its date (or marked
// "<undated>" when it has none), or the event's name. OnEvent, when set, handles each entry as it is logged.
class RecordingEvents : public SMSSenderEvents {
public:
    void ReportMessage(const std::u16string& Message) override {
        LastLine = Message;
        const auto prefix = FixedClock().CurrentDateTimeText() + u"    ";
        Lines.push_back(Message.starts_with(prefix) ? Message.substr(prefix.size())
                                                    : u"<undated> " + Message);
        Record(u"line: " + Lines.back());
    }
    void NotReadyToSendMessage() override { Record(u"NotReadyToSendMessage"); }
    void ReadyToSendMessage() override { Record(u"ReadyToSendMessage"); }
    void MustReconnect() override { Record(u"MustReconnect"); }
    void MessageAnswered(const SmsAnswer& answer, const std::vector<std::u16string>& lines) override {
        LastAnswer = answer;
        if (lines.empty() || lines.back() != LastLine) {
            Record(u"answered without its lines");
        }
        Record(answer.Outcome == SmsOutcome::Delivered      ? u"answered: delivered"
               : answer.Outcome == SmsOutcome::NotDelivered ? u"answered: not delivered"
               : answer.Outcome == SmsOutcome::Refused      ? u"answered: refused"
                                                            : u"answered: no result");
    }
    void AnswerOverdue() override { Record(u"AnswerOverdue"); }
    void SessionFailed(SessionFailure kind) override {
        Record(kind == SessionFailure::ConnectionLost   ? u"SessionFailed"
               : kind == SessionFailure::AccountRefused ? u"SessionFailed: account refused"
                                                        : u"SessionFailed: rate limited");
    }

    std::vector<std::u16string> Lines;
    std::vector<std::u16string> Log;
    SmsAnswer LastAnswer;
    std::function<void(const std::u16string& entry)> OnEvent;

private:
    void Record(const std::u16string& entry) {
        Log.push_back(entry);
        if (OnEvent) {
            OnEvent(entry);
        }
    }

    std::u16string LastLine;
};

} // namespace pagewing::test
