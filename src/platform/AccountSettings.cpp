#include "platform/AccountSettings.h"

#include "platform/Keyring.h"
#include "platform/OwnFiles.h"
#include "platform/PasswordCommand.h"
#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

#include <QCoreApplication>

namespace pagewing::AccountSettings {

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("AccountSettings", text);
}

QString Account() {
    return QString::fromStdU16String(GlobalSettings.ICQUIN);
}

QString& CommandOverride() {
    static QString command;
    return command;
}

// Why the settings' password command is not run, or empty when it is (or there is none).
QString CommandIgnored() {
    if (!CommandOverride().isEmpty() || GlobalSettings.PasswordCommand.empty()) {
        return {};
    }
    const auto file = RegisteryLoadSave::StoreFileName();
    const auto distrust = OwnFiles::DistrustFile(file);
    return distrust.isEmpty() ? QString() : Tr("PasswordCommand in %1 is not run: %2").arg(file, distrust);
}

QString Command() {
    if (!CommandOverride().isEmpty()) {
        return CommandOverride();
    }
    return CommandIgnored().isEmpty() ? QString::fromStdU16String(GlobalSettings.PasswordCommand) : QString();
}

// The answer, with the line that says why the settings' command was not run.
Handler TellingIgnored(Handler done) {
    return [ignored = CommandIgnored(), done = std::move(done)](const Loaded& loaded) {
        auto told = loaded;
        told.Ignored = ignored;
        done(told);
    };
}

PasswordGap GapOf(Keyring::Outcome outcome) {
    switch (outcome) {
    case Keyring::Outcome::Done:
        return PasswordGap::None;
    case Keyring::Outcome::NotFound:
        return PasswordGap::NoKeyringEntry;
    case Keyring::Outcome::NoSessionBus:
        return PasswordGap::NoSessionBus;
    case Keyring::Outcome::NoService:
        return PasswordGap::NoKeyringService;
    case Keyring::Outcome::Locked:
        return PasswordGap::KeyringLocked;
    case Keyring::Outcome::Failed:
        break;
    }
    return PasswordGap::KeyringFailed;
}

bool IsUnreachable(Keyring::Outcome outcome) {
    return outcome == Keyring::Outcome::NoSessionBus || outcome == Keyring::Outcome::NoService;
}

QString WhyUnreachable(Keyring::Outcome outcome) {
    return outcome == Keyring::Outcome::NoSessionBus ? Tr("no session bus")
                                                     : Tr("no keyring service on the session bus");
}

QString KeyringReason(const Keyring::Answer& answer) {
    if (IsUnreachable(answer.What)) {
        return Tr("the desktop's keyring cannot be reached from here (%1)").arg(WhyUnreachable(answer.What));
    }
    switch (answer.What) {
    case Keyring::Outcome::Locked:
        return Tr("the desktop's keyring is locked");
    case Keyring::Outcome::NotFound:
        return Tr("the desktop's keyring holds no password for ICQ number %1").arg(Account());
    default:
        return Tr("the desktop's keyring failed: %1").arg(answer.Error);
    }
}

// No password where one was looked for: the line names the way out.
Loaded Missing(PasswordGap gap, const QString& reason) {
    const auto wayOut = [gap] {
        switch (gap) {
        case PasswordGap::NoSessionBus:
            return Tr("enter it under User and Server Information, or give a password command");
        case PasswordGap::NoKeyringService:
            return Tr("start a keyring, or enter the password under User and Server Information");
        case PasswordGap::KeyringLocked:
            return Tr("unlock it, then choose Reconnect");
        case PasswordGap::CommandFailed:
            return Tr("mend the password command, then choose Reconnect");
        default:
            return Tr("enter it under User and Server Information");
        }
    }();
    return {Tr("No password: %1; %2").arg(reason, wayOut), gap, reason, {}};
}

// The password stays in the settings file where the keyring cannot take it.
QString KeptInFile(const Keyring::Answer& answer) {
    auto why = KeyringReason(answer);
    if (IsUnreachable(answer.What)) {
        why = Tr("no keyring is available (%1)").arg(WhyUnreachable(answer.What));
    } else if (answer.What == Keyring::Outcome::Locked) {
        why += Tr("; unlock it, then press OK under User and Server Information to move the password there");
    }
    return Tr("Password kept in the settings file: %1").arg(why);
}

void RunCommand(Keyring& keyring, Handler done) {
    const auto command = Command();
    PasswordCommand::Run(
        command, keyring, [command, done = std::move(done)](const PasswordCommand::Result& result) {
            GlobalSettings.ICQPassword = result.Password.value_or(QString()).toStdU16String();
            done(result.Password
                     ? Loaded{}
                     : Missing(PasswordGap::CommandFailed,
                               Tr("the password command \u201C%1\u201D %2").arg(command, result.Failure)));
        });
}

} // namespace

QStringList Loaded::Lines() const {
    QStringList lines;
    for (const auto* line : {&Ignored, &Note}) {
        if (!line->isEmpty()) {
            lines.append(*line);
        }
    }
    return lines;
}

bool IsComplete() {
    const auto& s = GlobalSettings;
    return !s.LoginURL.empty() && !s.LoginPort.empty() && !s.ICQUIN.empty() && !s.ICQPassword.empty();
}

void UsePasswordCommand(const QString& command) {
    CommandOverride() = command;
}

void Load(Keyring& keyring, Handler done) {
    RegisteryLoadSave::LoadLoginSettings();
    done = TellingIgnored(std::move(done));
    if (GlobalSettings.ICQUIN.empty()) {
        done({});
    } else if (GlobalSettings.ICQPassword.empty() || !Command().isEmpty()) {
        ReadPassword(keyring, std::move(done));
    } else if (!RegisteryLoadSave::IsOwnStore()) {
        done({});
    } else {
        Save(keyring, [done = std::move(done)](const QString& note) {
            done({note, PasswordGap::None, {}, {}});
        });
    }
}

void Save(Keyring& keyring, std::function<void(const QString& note)> done) {
    if (!Command().isEmpty()) {
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::Command);
        done({});
        return;
    }
    if (GlobalSettings.ICQUIN.empty() || GlobalSettings.ICQPassword.empty()) {
        RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
        done({});
        return;
    }
    const auto password = QString::fromStdU16String(GlobalSettings.ICQPassword);
    keyring.WritePassword(Account(), password, [done = std::move(done)](const Keyring::Answer& answer) {
        // The file loses the password only once the keyring holds it: nothing is lost when the write fails.
        if (answer.What == Keyring::Outcome::Done) {
            RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::Keyring);
            done({});
        } else {
            RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
            done(KeptInFile(answer));
        }
    });
}

void ReadPassword(Keyring& keyring, Handler done) {
    done = TellingIgnored(std::move(done));
    if (!Command().isEmpty()) {
        RunCommand(keyring, std::move(done));
        return;
    }
    keyring.ReadPassword(Account(), [done = std::move(done)](const Keyring::Answer& answer) {
        if (answer.What == Keyring::Outcome::Done) {
            GlobalSettings.ICQPassword = answer.Password.toStdU16String();
        }
        done(GlobalSettings.ICQPassword.empty() ? Missing(GapOf(answer.What), KeyringReason(answer))
                                                : Loaded{});
    });
}

} // namespace pagewing::AccountSettings
