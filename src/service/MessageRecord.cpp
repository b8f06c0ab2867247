#include "service/MessageRecord.h"

#include "service/TelephoneList.h"

#include <array>
#include <utility>

namespace pagewing {

namespace {

constexpr std::array<std::pair<MessageState, const char*>, 8> StateNames{{
    {MessageState::Queued, "queued"},
    {MessageState::Sending, "sending"},
    {MessageState::Delivered, "delivered"},
    {MessageState::NotDelivered, "not delivered"},
    {MessageState::Refused, "refused"},
    {MessageState::NoAnswerYet, "no answer yet"},
    {MessageState::Unknown, "unknown"},
    {MessageState::NotSent, "not sent"},
}};

constexpr std::array<std::pair<MessageOrigin, const char*>, 3> OriginNames{{
    {MessageOrigin::Window, "window"},
    {MessageOrigin::CommandLine, "command line"},
    {MessageOrigin::HandedOver, "handed over"},
}};

template <typename Value, std::size_t Size>
QString NameOf(const std::array<std::pair<Value, const char*>, Size>& names, Value value) {
    for (const auto& [candidate, name] : names) {
        if (candidate == value) {
            return QString::fromLatin1(name);
        }
    }
    return {};
}

template <typename Value, std::size_t Size>
std::optional<Value> Named(const std::array<std::pair<Value, const char*>, Size>& names,
                           const QString& name) {
    for (const auto& [value, candidate] : names) {
        if (name == QLatin1String(candidate)) {
            return value;
        }
    }
    return std::nullopt;
}

} // namespace

bool MessageRecord::IsFinished() const {
    return State != MessageState::Queued && State != MessageState::Sending &&
           State != MessageState::NoAnswerYet;
}

void MessageRecord::Become(MessageState state, const QDateTime& when) {
    State = state;
    Changed = when;
}

QString MessageRecord::To() const {
    const auto named = TelephoneList::DestinationOf(Entry);
    return named && !named->Name.isEmpty() ? named->Name + u' ' + Destination : Destination;
}

QString MessageRecord::Outcome() const {
    auto outcome = StateName(State);
    outcome[0] = outcome[0].toUpper();
    if (State == MessageState::Refused) {
        outcome +=
            QStringLiteral(" (code 0x%1)").arg(QString::number(Code, 16).toUpper().rightJustified(2, u'0'));
    }
    return Detail.isEmpty() ? outcome : outcome + QStringLiteral(": ") + Detail;
}

QStringList MessageRecord::Fields() const {
    return {IsoTime(Made), Entry, Destination, Sender, Text, StateName(State), QString::number(Code), Detail};
}

QString StateName(MessageState state) {
    return NameOf(StateNames, state);
}

std::optional<MessageState> StateNamed(const QString& name) {
    return Named(StateNames, name);
}

QString OriginName(MessageOrigin origin) {
    return NameOf(OriginNames, origin);
}

std::optional<MessageOrigin> OriginNamed(const QString& name) {
    return Named(OriginNames, name);
}

QString IsoTime(const QDateTime& time, Qt::DateFormat format) {
    // A local time alone would print without its offset.
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(format);
}

} // namespace pagewing
