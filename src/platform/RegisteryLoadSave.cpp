#include "platform/RegisteryLoadSave.h"

#include "session/GlobalSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cmath>
#include <limits>
#include <memory>

namespace pagewing::RegisteryLoadSave {

namespace {

const QString Application = QStringLiteral("Lumenfold Pagewing");
const QString Section = QStringLiteral("Settings");

// Set by UseStoreFile; empty for the user's own store.
QString& OtherStoreFile() {
    static QString fileName;
    return fileName;
}

std::unique_ptr<QSettings> OpenStore() {
    return OtherStoreFile().isEmpty()
               ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, Application,
                                             Application)
               : std::make_unique<QSettings>(OtherStoreFile(), QSettings::IniFormat);
}

// QSettings makes its folder and file with the umask's permissions; the password is in the file, so both
// are made private before a value is written and kept so after.
void MakePrivate(const QString& fileName) {
    const QFileInfo file(fileName);
    QDir().mkpath(file.absolutePath());
    QFile::setPermissions(file.absolutePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!file.exists()) {
        QFile create(fileName);
        create.open(QIODevice::WriteOnly);
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

    std::u16string Plain(const QString& key, const QString& fallback) const {
        return Text(key, fallback).toStdU16String();
    }

    void Write(const QString& key, const QString& value) { Settings->setValue(key, value); }
    void Write(const QString& key, std::int32_t value) { Settings->setValue(key, QString::number(value)); }
    void Write(const QString& key, bool value) {
        Settings->setValue(key, value ? QStringLiteral("True") : QStringLiteral("False"));
    }
    void Write(const QString& key, const std::u16string& value) {
        Settings->setValue(key, QString::fromStdU16String(value));
    }

    void Save() {
        MakePrivate(Settings->fileName());
        Settings->sync();
        MakePrivate(Settings->fileName());
    }

private:
    std::unique_ptr<QSettings> Settings;
};

} // namespace

void LoadWindowSettings() {
    const Store store;
    GlobalSettings.SaveLeft = store.Integer(QStringLiteral("SaveLeft"), 0);
    GlobalSettings.SaveTop = store.Integer(QStringLiteral("SaveTop"), 0);
    GlobalSettings.TopMost = store.Boolean(QStringLiteral("TopMost"), true);
    GlobalSettings.StartUp = store.Boolean(QStringLiteral("StartUp"), false);
    GlobalSettings.Showing = store.Boolean(QStringLiteral("Showing"), true);
    GlobalSettings.ShowHelp = store.Integer(QStringLiteral("ShowHelp"), 1);
}

void SaveWindowSettings() {
    Store store;
    store.Write(QStringLiteral("SaveLeft"), GlobalSettings.SaveLeft);
    store.Write(QStringLiteral("SaveTop"), GlobalSettings.SaveTop);
    store.Write(QStringLiteral("TopMost"), GlobalSettings.TopMost);
    store.Write(QStringLiteral("StartUp"), GlobalSettings.StartUp);
    store.Write(QStringLiteral("Showing"), GlobalSettings.Showing);
    store.Write(QStringLiteral("ShowHelp"), GlobalSettings.ShowHelp);
    store.Save();
}

void LoadLoginSettings() {
    const Store store;
    GlobalSettings.LoginURL = store.Plain(QStringLiteral("LoginURL"), QStringLiteral("login.icq.com"));
    GlobalSettings.LoginPort = store.Plain(QStringLiteral("LoginPort"), QStringLiteral("5190"));
    GlobalSettings.ICQUIN = store.Plain(QStringLiteral("ICQUIN"), QString());
    GlobalSettings.ICQPassword = store.Plain(QStringLiteral("ICQPassword"), QString());
}

void SaveLoginSettings() {
    Store store;
    store.Write(QStringLiteral("LoginURL"), GlobalSettings.LoginURL);
    store.Write(QStringLiteral("LoginPort"), GlobalSettings.LoginPort);
    store.Write(QStringLiteral("ICQUIN"), GlobalSettings.ICQUIN);
    store.Write(QStringLiteral("ICQPassword"), GlobalSettings.ICQPassword);
    store.Save();
}

void LoadTelephoneList() {
    GlobalSettings.TelephoneList = Store().Plain(QStringLiteral("TelephoneList"), QString());
}

void SaveTelephoneList() {
    Store store;
    store.Write(QStringLiteral("TelephoneList"), GlobalSettings.TelephoneList);
    store.Save();
}

QString StoreFileName() {
    return OpenStore()->fileName();
}

void UseStoreFile(const QString& fileName) {
    OtherStoreFile() = fileName;
}

} // namespace pagewing::RegisteryLoadSave
