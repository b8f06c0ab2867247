#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace pagewing {

// Where a message was asked for.
enum class MessageOrigin { Window, CommandLine, HandedOver };

// The states a message passes through. Queued, Sending and NoAnswerYet may still change; the others are where
// a message ends.
enum class MessageState { Queued, Sending, Delivered, NotDelivered, Refused, NoAnswerYet, Unknown, NotSent };

// One message as the history keeps it: as typed, where it went, and how it ended.
struct MessageRecord {
    qint64 Id = 0;
    QDateTime Made;
    // The number box's text as typed, name and all.
    QString Entry;
    // The number the request went to.
    QString Destination;
    QString Sender;
    QString Text;
    MessageOrigin Origin = MessageOrigin::Window;
    MessageState State = MessageState::Queued;
    // A refusal's result code.
    int Code = 0;
    // The server's own text of a refusal, or why the message was not sent or may not have arrived.
    QString Detail;
    QDateTime Changed;
    // The run of the program that owns the message while it may still change; see ProgramRun.
    QString Run;

    bool IsFinished() const;
    // The message moves on to a state at a moment.
    void Become(MessageState state, const QDateTime& when);
    // Who it went to: the name the entry gives, if any, and the destination as sent ("Ann Lee +15551234567").
    QString To() const;
    // The outcome in a few words, as the history shows it: "Delivered", "Refused (code 0x46): Sorry...".
    QString Outcome() const;
    // What an export or a script reads: time made (ISO 8601 with the offset), the entry as typed, the
    // destination, sender, text, state, code and detail.
    QStringList Fields() const;
};

// The names the history stores and prints: "queued", "not delivered", "no answer yet", ...
QString StateName(MessageState state);
std::optional<MessageState> StateNamed(const QString& name);
QString OriginName(MessageOrigin origin);
std::optional<MessageOrigin> OriginNamed(const QString& name);

// A time as ISO 8601 with its offset from UTC, "2026-12-07T04:05:40+01:00", as exports and scripts read it.
QString IsoTime(const QDateTime& time, Qt::DateFormat format = Qt::ISODate);

} // namespace pagewing
