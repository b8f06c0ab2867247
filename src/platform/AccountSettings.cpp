#include "platform/AccountSettings.h"

#include "platform/DesktopIntegration.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

namespace pagewing::AccountSettings {

namespace {

QString Account() {
    return QString::fromStdU16String(GlobalSettings.ICQUIN);
}

} // namespace

bool IsComplete() {
    const auto& s = GlobalSettings;
    return !s.LoginURL.empty() && !s.LoginPort.empty() && !s.ICQUIN.empty() && !s.ICQPassword.empty();
}

void Load(DesktopIntegration& desktop, std::function<void(const QString& note)> done) {
    RegisteryLoadSave::LoadLoginSettings();
    if (GlobalSettings.ICQUIN.empty()) {
        done({});
    } else if (GlobalSettings.ICQPassword.empty()) {
        ReadPassword(desktop, [done = std::move(done)] { done({}); });
    } else {
        Save(desktop, std::move(done));
    }
}

void Save(DesktopIntegration& desktop, std::function<void(const QString& note)> done) {
    if (GlobalSettings.ICQUIN.empty() || GlobalSettings.ICQPassword.empty()) {
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        done({});
        return;
    }
    const auto password = QString::fromStdU16String(GlobalSettings.ICQPassword);
    desktop.WritePassword(Account(), password, [done = std::move(done)](Keyring::Outcome outcome) {
        // The file loses the password only once the keyring holds it: nothing is lost when the write fails.
        if (outcome == Keyring::Outcome::Done) {
            RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::Keyring);
            done({});
        } else {
            RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
            done(NoKeyringNote);
        }
    });
}

void ReadPassword(DesktopIntegration& desktop, std::function<void()> done) {
    desktop.ReadPassword(Account(),
                         [done = std::move(done)](Keyring::Outcome outcome, const QString& password) {
                             if (outcome == Keyring::Outcome::Done) {
                                 GlobalSettings.ICQPassword = password.toStdU16String();
                             }
                             done();
                         });
}

} // namespace pagewing::AccountSettings
