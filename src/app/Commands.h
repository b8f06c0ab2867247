#pragma once

#include "app/CommandLine.h"

// The commands that run with no window: sending from a shell or a script, and printing the history. Each
// needs a QCoreApplication and gives the process's exit status.
namespace pagewing::Commands {

int Send(const CommandLine& command);
int PrintHistory(const CommandLine& command);

} // namespace pagewing::Commands
