#pragma once

#include "platform/RegisteryLoadSave.h"
#include "session/GlobalSettings.h"

#include <QString>

namespace pagewing::test {

// A window that comes up shown, with no About window in front of it.
inline void SeedShownWindow() {
    GlobalSettings.ShowHelp = 0;
    GlobalSettings.Showing = true;
    RegisteryLoadSave::SaveWindowSettings();
}

// The stored settings that a test or benchmark starts the program from: the simulator's address, its demo
// account, and a shown window.
inline void SeedAccount(const QString& host, const QString& port) {
    GlobalSettings.LoginURL = host.toStdU16String();
    GlobalSettings.LoginPort = port.toStdU16String();
    GlobalSettings.ICQUIN = u"100200300";
    GlobalSettings.ICQPassword = u"pagewing";
    RegisteryLoadSave::SaveLoginSettings(RegisteryLoadSave::PasswordPlace::SettingsFile);
    SeedShownWindow();
}

} // namespace pagewing::test
