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

// Every event in the order raised; status lines are kept without their date prefix in Lines.
class RecordingEvents : public SMSSenderEvents {
public:
    void ReportMessage(const std::u16string& Message) override {
        FullLines.push_back(Message);
        const auto prefix = FixedClock().CurrentDateTimeText() + u"    ";
        Lines.push_back(Message.rfind(prefix, 0) == 0 ? Message.substr(prefix.size())
                                                      : u"<undated> " + Message);
        Log.push_back(u"line: " + Lines.back());
        if (OnReport) {
            OnReport(Lines.back());
        }
    }
    void NotReadyToSendMessage() override { Log.emplace_back(u"NotReadyToSendMessage"); }
    void ReadyToSendMessage() override { Log.emplace_back(u"ReadyToSendMessage"); }
    void MustReconnect() override { Log.emplace_back(u"MustReconnect"); }
    void MessageAnswered(SmsOutcome outcome, const std::vector<std::u16string>& lines) override {
        if (lines.empty() || lines.back() != FullLines.back()) {
            Log.emplace_back(u"answered without its lines");
        }
        Log.emplace_back(outcome == SmsOutcome::Delivered      ? u"answered: delivered"
                         : outcome == SmsOutcome::NotDelivered ? u"answered: not delivered"
                                                               : u"answered: refused");
    }
    void SessionFailed() override { Log.emplace_back(u"SessionFailed"); }

    std::vector<std::u16string> Lines;
    std::vector<std::u16string> FullLines;
    std::vector<std::u16string> Log;
    std::function<void(const std::u16string&)> OnReport;
};

} // namespace pagewing::test
