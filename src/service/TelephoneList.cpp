#include "service/TelephoneList.h"

#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"
#include "session/SMSSender.h"

#include <QRegularExpression>

namespace pagewing::TelephoneList {

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

QString DestinationNumber(const QString& text) {
    return text.split(u' ').constLast();
}

std::optional<QString> PhoneNumber(const QString& word) {
    static const QRegularExpression separators(QStringLiteral("[ .()\\[\\]-]"));
    static const QRegularExpression number(QStringLiteral("^\\+?[0-9]{3,20}$"));
    auto digits = word;
    digits.remove(separators);
    return number.match(digits).hasMatch() ? std::optional(digits) : std::nullopt;
}

SendAttempt Send(SMSSender& session, const QString& number, const std::u16string& text, qint64 id) {
    return session.SendSMSMessage(number.toStdU16String(), text, u"1252", GlobalSettings.ICQUIN,
                                  u"TICQClient", u"Yes", id);
}

} // namespace pagewing::TelephoneList
