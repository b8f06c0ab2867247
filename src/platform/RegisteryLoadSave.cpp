#include "platform/RegisteryLoadSave.h"

#include "platform/ProductInfo.h"
#include "session/GlobalSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <variant>

namespace pagewing::RegisteryLoadSave {

namespace {

const QString Section = QStringLiteral("Settings");

enum class Group { Window, Login, TelephoneList };

using Field =
    std::variant<std::int32_t SettingsRecord::*, bool SettingsRecord::*, std::u16string SettingsRecord::*>;

// Every stored key: its group, the field it fills and the value an absent key stands for.
struct Key {
    QLatin1StringView Name;
    Group Of;
    Field Value;
    QLatin1StringView Default;
};

const Key PasswordKey{QLatin1StringView("ICQPassword"), Group::Login, &SettingsRecord::ICQPassword,
                      QLatin1StringView("")};

// Written only when set: a settings file names a command only when its owner put one there.
const Key PasswordCommandKey{QLatin1StringView("PasswordCommand"), Group::Login,
                             &SettingsRecord::PasswordCommand, QLatin1StringView("")};

const std::array<Key, 15> Keys{{
    {QLatin1StringView("SaveLeft"), Group::Window, &SettingsRecord::SaveLeft, QLatin1StringView("0")},
    {QLatin1StringView("SaveTop"), Group::Window, &SettingsRecord::SaveTop, QLatin1StringView("0")},
    {QLatin1StringView("TopMost"), Group::Window, &SettingsRecord::TopMost, QLatin1StringView("True")},
    {QLatin1StringView("StartUp"), Group::Window, &SettingsRecord::StartUp, QLatin1StringView("False")},
    {QLatin1StringView("Showing"), Group::Window, &SettingsRecord::Showing, QLatin1StringView("True")},
    {QLatin1StringView("ShowHelp"), Group::Window, &SettingsRecord::ShowHelp, QLatin1StringView("1")},
    {QLatin1StringView("HistoryWidth"), Group::Window, &SettingsRecord::HistoryWidth,
     QLatin1StringView("560")},
    {QLatin1StringView("HistoryHeight"), Group::Window, &SettingsRecord::HistoryHeight,
     QLatin1StringView("472")},
    {QLatin1StringView("HistoryColumns"), Group::Window, &SettingsRecord::HistoryColumns,
     QLatin1StringView("136 122 146")},
    {QLatin1StringView("LoginURL"), Group::Login, &SettingsRecord::LoginURL,
     QLatin1StringView("login.icq.com")},
    {QLatin1StringView("LoginPort"), Group::Login, &SettingsRecord::LoginPort, QLatin1StringView("5190")},
    {QLatin1StringView("ICQUIN"), Group::Login, &SettingsRecord::ICQUIN, QLatin1StringView("")},
    PasswordKey,
    PasswordCommandKey,
    {QLatin1StringView("TelephoneList"), Group::TelephoneList, &SettingsRecord::TelephoneList,
     QLatin1StringView("")},
}};

// Set by UseStoreFile; empty for the user's own store.
QString& OtherStoreFile() {
    static QString fileName;
    return fileName;
}

std::function<void(const QString&)>& SaveFailedReport() {
    static std::function<void(const QString&)> report;
    return report;
}

std::unique_ptr<QSettings> OpenStore() {
    return OtherStoreFile().isEmpty()
               ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, ProductInfo::Name,
                                             ProductInfo::Name)
               : std::make_unique<QSettings>(OtherStoreFile(), QSettings::IniFormat);
}

constexpr auto OwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Makes the folder and whichever of its parents are missing, readable by their owner only; a folder that
// exists keeps its mode (it may be the home folder, or one that others are meant to read).
void MakeFolder(const QString& folder) {
    if (QFileInfo::exists(folder)) {
        return;
    }
    MakeFolder(QFileInfo(folder).absolutePath());
    QDir().mkdir(folder, OwnerOnly);
}

// QSettings makes its file with the umask's permissions; the password may be in it, so the file is made
// private before a value is written and kept so after. Its folder is the program's and is kept private too.
void MakePrivate(const QString& fileName) {
    const QFileInfo file(fileName);
    MakeFolder(file.absolutePath());
    QFile::setPermissions(file.absolutePath(), OwnerOnly);
    if (!file.exists()) {
        QFile create(fileName);
        create.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::WriteOwner);
    }
    QFile::setPermissions(fileName, QFile::ReadOwner | QFile::WriteOwner);
}

class Store {
public:
    Store()
        : Settings(OpenStore()) {
        Settings->beginGroup(Section);
    }

    // A text value that QSettings may have read as a list, because an unquoted comma splits INI values.
    QString Text(const QString& key, const QString& fallback) const {
        const auto value = Settings->value(key, fallback);
        return value.typeId() == QMetaType::QStringList ? value.toStringList().join(u',') : value.toString();
    }

    // A value written by hand as it stands, where QSettings would cut it at a ";" (a comment to it) or split
    // it at a ",": a shell command may hold either. A value QSettings wrote, which it quotes where either
    // appears, it reads itself.
    QString Verbatim(const QString& key, const QString& fallback) const {
        const auto value = Unread(key);
        const bool quoted = value.size() > 1 && value.startsWith(u'"') && value.endsWith(u'"');
        return quoted || (!value.contains(u';') && !value.contains(u',')) ? Text(key, fallback) : value;
    }

    // Decimal text; a fraction rounds to the nearest whole number, halves to even.
    std::int32_t Integer(const QString& key, std::int32_t fallback) const {
        bool isNumber = false;
        const auto value = Text(key, QString::number(fallback)).trimmed().toDouble(&isNumber);
        if (!isNumber || !std::isfinite(value)) {
            return fallback;
        }
        const auto rounded = std::nearbyint(value);
        constexpr auto lowest = static_cast<double>(std::numeric_limits<std::int32_t>::min());
        constexpr auto highest = static_cast<double>(std::numeric_limits<std::int32_t>::max());
        return rounded < lowest || rounded > highest ? fallback : static_cast<std::int32_t>(rounded);
    }

    // "True" or "False" in any letter case, or a number: 0 is false, any other number true.
    bool Boolean(const QString& key, bool fallback) const {
        const auto text = Text(key, fallback ? QStringLiteral("True") : QStringLiteral("False")).trimmed();
        if (text.compare(u"true", Qt::CaseInsensitive) == 0) {
            return true;
        }
        if (text.compare(u"false", Qt::CaseInsensitive) == 0) {
            return false;
        }
        bool isNumber = false;
        const auto value = text.toDouble(&isNumber);
        return isNumber ? value != 0 : fallback;
    }

    void Read(const Key& key, SettingsRecord& record) const {
        const QString name(key.Name);
        const QString fallback(key.Default);
        if (key.Name == PasswordCommandKey.Name) {
            record.PasswordCommand = Verbatim(name, fallback).toStdU16String();
            return;
        }
        std::visit(
            [&](auto field) {
                auto& value = record.*field;
                using Value = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, std::int32_t>) {
                    value = Integer(name, fallback.toInt());
                } else if constexpr (std::is_same_v<Value, bool>) {
                    value = Boolean(name, fallback == u"True");
                } else {
                    value = Text(name, fallback).toStdU16String();
                }
            },
            key.Value);
    }

    // Integers in decimal, Booleans as "True" or "False", text as it is.
    void Write(const Key& key, const SettingsRecord& record) {
        std::visit(
            [&](auto field) {
                const auto& value = record.*field;
                using Value = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, std::int32_t>) {
                    Settings->setValue(QString(key.Name), QString::number(value));
                } else if constexpr (std::is_same_v<Value, bool>) {
                    Settings->setValue(QString(key.Name),
                                       value ? QStringLiteral("True") : QStringLiteral("False"));
                } else {
                    Settings->setValue(QString(key.Name), QString::fromStdU16String(value));
                }
            },
            key.Value);
    }

    void Remove(const Key& key) { Settings->remove(QString(key.Name)); }

    // False when the file could not be written.
    bool Save() {
        MakePrivate(Settings->fileName());
        Settings->sync();
        MakePrivate(Settings->fileName());
        return Settings->status() == QSettings::NoError;
    }

    QString FileName() const { return Settings->fileName(); }

private:
    // The text after "key=" in the file's own section, trimmed; empty where there is none.
    QString Unread(const QString& key) const {
        QFile file(Settings->fileName());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            return {};
        }
        bool inSection = false;
        while (!file.atEnd()) {
            const auto line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith(u'[')) {
                inSection = line == u'[' + Section + u']';
            } else if (inSection && line.section(u'=', 0, 0).trimmed() == key) {
                return line.section(u'=', 1).trimmed();
            }
        }
        return {};
    }

    std::unique_ptr<QSettings> Settings;
};

void Load(Group group) {
    const Store store;
    for (const auto& key : Keys) {
        if (key.Of == group) {
            store.Read(key, GlobalSettings);
        }
    }
}

enum class Action { Write, Remove, Keep };

Action ActionFor(const Key& key, PasswordPlace place) {
    if (key.Name == PasswordKey.Name) {
        return place == PasswordPlace::SettingsFile ? Action::Write
               : place == PasswordPlace::Keyring    ? Action::Remove
                                                    : Action::Keep;
    }
    if (key.Name == PasswordCommandKey.Name && GlobalSettings.PasswordCommand.empty()) {
        return Action::Remove;
    }
    return Action::Write;
}

void Save(Group group, PasswordPlace place = PasswordPlace::SettingsFile) {
    // A file given with --settings is its owner's: read, never written, so that a script's file stays as
    // its owner wrote it.
    if (!OtherStoreFile().isEmpty()) {
        return;
    }
    Store store;
    for (const auto& key : Keys) {
        if (key.Of != group) {
            continue;
        }
        switch (ActionFor(key, place)) {
        case Action::Write:
            store.Write(key, GlobalSettings);
            break;
        case Action::Remove:
            store.Remove(key);
            break;
        case Action::Keep:
            break;
        }
    }
    if (!store.Save() && SaveFailedReport()) {
        SaveFailedReport()(store.FileName());
    }
}

} // namespace

void LoadWindowSettings() {
    Load(Group::Window);
}

void SaveWindowSettings() {
    Save(Group::Window);
}

void LoadLoginSettings() {
    Load(Group::Login);
}

void SaveLoginSettings(PasswordPlace place) {
    Save(Group::Login, place);
}

void LoadTelephoneList() {
    Load(Group::TelephoneList);
}

void SaveTelephoneList() {
    Save(Group::TelephoneList);
}

QString StoreFileName() {
    return OpenStore()->fileName();
}

void UseStoreFile(const QString& fileName) {
    OtherStoreFile() = fileName;
}

bool IsOwnStore() {
    return OtherStoreFile().isEmpty();
}

void OnSaveFailed(std::function<void(const QString& fileName)> report) {
    SaveFailedReport() = std::move(report);
}

} // namespace pagewing::RegisteryLoadSave
