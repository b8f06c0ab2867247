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

// The number a text in the number box sends to: its last space-separated word, so "Ann 0123456" sends to
// 0123456; empty for an empty text or one that ends in a space.
QString DestinationNumber(const QString& text);

// The number a word stands for, as it is sent: without the spaces, dashes, dots and brackets that people
// write numbers with, an optional "+" and 3 to 20 digits; none when the word is no phone number.
std::optional<QString> PhoneNumber(const QString& word);

// Sends a composed text to a number as every request of Pagewing's goes: code page 1252, from the account's
// own ICQ number, with a delivery receipt asked for; the message's id tags the request.
SendAttempt Send(SMSSender& session, const QString& number, const std::u16string& text, qint64 id);

} // namespace pagewing::TelephoneList
