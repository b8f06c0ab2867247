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
    void MessageAnswered(SmsOutcome outcome, const std::vector<std::u16string>& lines) override {
        if (lines.empty() || lines.back() != LastLine) {
            Record(u"answered without its lines");
        }
        Record(outcome == SmsOutcome::Delivered      ? u"answered: delivered"
               : outcome == SmsOutcome::NotDelivered ? u"answered: not delivered"
               : outcome == SmsOutcome::Refused      ? u"answered: refused"
                                                     : u"answered: no result");
    }
    void SessionFailed() override { Record(u"SessionFailed"); }

    std::vector<std::u16string> Lines;
    std::vector<std::u16string> Log;
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
