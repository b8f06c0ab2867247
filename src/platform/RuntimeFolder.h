#pragma once

#include <QString>

// The per-user runtime folder, where the running window listens for `pagewing --send` and keeps its lock.
// cron and ssh start programs without XDG_RUNTIME_DIR; Qt then warns on standard error and picks a folder in
// which the user's running window is not found.
namespace pagewing::RuntimeFolder {

// Sets XDG_RUNTIME_DIR where it is not set, before Qt first asks for it: to the user's session folder
// /run/user/<uid> when it exists, belongs to the user and only the user may enter it, so that a command
// reaches the window running on the desktop; otherwise to a private folder in the temporary folder, the one
// Qt itself would fall back to.
void Settle();

} // namespace pagewing::RuntimeFolder
