#include "service/TelephoneList.h"

#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "session/SMSSender.h"


namespace pagewing::TelephoneList {

namespace {

constexpr qsizetype MinimumDigits = 3;
constexpr qsizetype MaximumDigits = 20;

// Only ASCII digits: a number in another script's digits is no number a gateway takes.
bool IsDigit(QChar character) {
    return character >= u'0' && character <= u'9';
}

// What people write numbers with besides digits.
bool IsNumberPart(QChar character) {
    return IsDigit(character) || QStringView(u" -.()[]").contains(character);
}

} // namespace

QStringList Entries(const QString& stored) {
    return stored.split(u',', Qt::SkipEmptyParts);
}

std::optional<QString> WithEntry(const QString& stored, const QString& entry) {
    auto storable = entry;
    storable.replace(u',', u' ');
    if (storable.trimmed().isEmpty() || Entries(stored).contains(storable, Qt::CaseSensitive)) {
        return std::nullopt;
    }
    return stored.isEmpty() ? storable : stored + u',' + storable;
}

// Both read the list again first: another copy of the program, or a command, may have stored entries
// meanwhile.
bool Remember(const QString& entry) {
    RegisteryLoadSave::LoadTelephoneList();
    const auto list = WithEntry(QString::fromStdU16String(GlobalSettings.TelephoneList), entry);
    if (!list) {
        return false;
    }
    GlobalSettings.TelephoneList = list->toStdU16String();
    RegisteryLoadSave::SaveTelephoneList();
    return true;
}

bool Forget(const QString& entry) {
    RegisteryLoadSave::LoadTelephoneList();
    auto entries = Entries(QString::fromStdU16String(GlobalSettings.TelephoneList));
    if (entries.removeAll(entry) == 0) {
        return false;
    }
    GlobalSettings.TelephoneList = entries.join(u',').toStdU16String();
    RegisteryLoadSave::SaveTelephoneList();
    return true;
}

QString Destination::Shown() const {
    return Name.isEmpty() ? Number : Name + u' ' + Number;
}

std::optional<Destination> DestinationOf(const QString& entry) {
    const auto text = entry.trimmed();
    auto start = text.size();
    while (start > 0 && IsNumberPart(text[start - 1])) {
        --start;
    }
    // A bracket or a space at the front belongs to the name: "Ann (work) 555 0100".
    while (start < text.size() && !IsDigit(text[start]) && text[start] != u'(' && text[start] != u'[') {
        ++start;
    }
    if (start > 0 && text[start - 1] == u'+') {
        --start;
    }
    if (start > 0 && !text[start - 1].isSpace()) {
        return std::nullopt;
    }
    QString number;
    for (const auto character : text.mid(start)) {
        if (IsDigit(character) || character == u'+') {
            number.append(character);
        }
    }
    const auto digits = number.size() - (number.startsWith(u'+') ? 1 : 0);
    if (digits < MinimumDigits || digits > MaximumDigits) {
        return std::nullopt;
    }
    return Destination{text.left(start).trimmed(), number};
}

SendAttempt Send(SMSSender& session, const QString& number, const std::u16string& text, qint64 id) {
    return session.SendSMSMessage(number.toStdU16String(), text, u"1252", GlobalSettings.ICQUIN,
                                  u"TICQClient", u"Yes", id);
}

} // namespace pagewing::TelephoneList
