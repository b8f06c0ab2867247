#pragma once

#include "session/SMSSender.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

// The stored telephone list: entries joined by "," in the order they were first used.
namespace pagewing::TelephoneList {

// The stored entries in stored order; empty pieces are skipped.
QStringList Entries(const QString& stored);

// The stored text with the entry added at the end, or nothing when the entry is already there (a whole
// entry, letter case significant) or empty. A comma in the entry is stored as a space, so that the entry
// reads back as one.
std::optional<QString> WithEntry(const QString& stored, const QString& entry);

// Adds the entry to the stored list and saves it; false when it was there already or is empty.
bool Remember(const QString& entry);

// Takes the entry (a whole entry, letter case significant) out of the stored list and saves it; false when
// it was not there.
bool Forget(const QString& entry);

// Where an entry of the number box sends to: who, if the entry names anyone, and the number as it is sent.
struct Destination {
    QString Name;
    QString Number;

    // "Ann Lee +15551234567", or the number alone.
    QString Shown() const;
};

// The entry's destination: an optional name, then the number, which is the trailing run of digits, spaces,
// dashes, dots and brackets, with an optional "+" at its start, holding 3 to 20 digits; it is sent without the
// separators. "Ann Lee +1 (555) 123-4567" is Ann Lee at +15551234567. None when the entry does not end in such
// a number, or the number is glued to the word before it ("Ann555 1234", "555+1234").
std::optional<Destination> DestinationOf(const QString& entry);

// Sends a composed text to a number as every request of Pagewing's goes: code page 1252, from the account's
// own ICQ number, with a delivery receipt asked for; the message's id tags the request.
SendAttempt Send(SMSSender& session, const QString& number, const std::u16string& text, qint64 id);

} // namespace pagewing::TelephoneList
