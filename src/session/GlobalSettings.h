#pragma once

#include <cstdint>
#include <string>

namespace pagewing {

// Everything the program remembers between runs. One record for the whole process: the front end reads and
// changes the fields and saves the group it changed; the session reads the account when a login is built.
struct SettingsRecord {
    std::int32_t SaveLeft = 0; // twips
    std::int32_t SaveTop = 0;  // twips
    bool TopMost = false;
    bool StartUp = false;
    bool Showing = false;
    std::int32_t ShowHelp = 0;
    std::u16string LoginURL;
    std::u16string LoginPort;
    std::u16string ICQUIN;
    std::u16string ICQPassword;
    std::u16string PasswordCommand; // a shell command whose first line of output is the password
    std::u16string TelephoneList;   // entries joined by ","
    std::int32_t HistoryWidth = 0;  // the Message History window's size, in pixels
    std::int32_t HistoryHeight = 0;
    std::u16string HistoryColumns; // its column widths in pixels, but the last, which fills the rest
};

extern SettingsRecord GlobalSettings;

} // namespace pagewing
