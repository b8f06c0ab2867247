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
// "<undated>" when it has none), "line #tag: " for a line about one request, or the event's name. OnEvent,
// when set, handles each entry as it is logged.
class RecordingEvents : public SMSSenderEvents {
public:
    void ReportMessage(const std::u16string& Message) override { Record(u"line: " + Undated(Message)); }
    void ReportRequestMessage(RequestTag tag, const std::u16string& Message) override {
        Record(u"line" + Tag(tag) + u": " + Undated(Message));
    }
    void NotReadyToSendMessage() override { Record(u"NotReadyToSendMessage"); }
    void ReadyToSendMessage() override { Record(u"ReadyToSendMessage"); }
    void MustReconnect() override { Record(u"MustReconnect"); }
    void MessageAnswered(RequestTag tag, const SmsAnswer& answer,
                         const std::vector<std::u16string>& lines) override {
        LastAnswer = answer;
        if (lines.empty() || lines.back() != LastLine) {
            Record(u"answered without its lines");
        }
        constexpr std::u16string_view Outcomes[] = {u": delivered", u": not delivered", u": refused",
                                                    u": no result"};
        Record(u"answered" + Tag(tag) + std::u16string(Outcomes[static_cast<int>(answer.Outcome)]));
    }
    void AnswerOverdue(RequestTag tag) override { Record(u"AnswerOverdue" + Tag(tag)); }
    void SessionFailed(const SessionEnd& end) override {
        LastEnd = end;
        if (Lines.empty() || Lines.back() != end.Reason) {
            Record(u"failed without its line");
        }
        constexpr std::u16string_view Kinds[] = {u"", u": account refused", u": rate limited",
                                                 u": another login"};
        Record(u"SessionFailed" + std::u16string(Kinds[static_cast<int>(end.Kind)]));
    }

    std::vector<std::u16string> Lines;
    std::vector<std::u16string> Log;
    SmsAnswer LastAnswer;
    SessionEnd LastEnd;
    std::function<void(const std::u16string& entry)> OnEvent;

private:
    static std::u16string Tag(RequestTag tag) {
        const auto digits = std::to_string(tag);
        return u" #" + std::u16string(digits.begin(), digits.end());
    }

    std::u16string Undated(const std::u16string& line) {
        LastLine = line;
        const auto prefix = FixedClock().CurrentDateTimeText() + u"    ";
        Lines.push_back(line.starts_with(prefix) ? line.substr(prefix.size()) : u"<undated> " + line);
        return Lines.back();
    }

    void Record(const std::u16string& entry) {
        Log.push_back(entry);
        if (OnEvent) {
            OnEvent(entry);
        }
    }

    std::u16string LastLine;
};

} // namespace pagewing::test
