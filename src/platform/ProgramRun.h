#pragma once

#include <QString>

// This run of the program, as the history names the owner of a message that may still change: the window and
// every `pagewing --send` each own their messages, and another run takes up only those whose owner is gone.
// A run holds a lock in the runtime folder for as long as it lives, taken when its name is first asked for; a
// run that crashed or was killed leaves no lock held.
namespace pagewing::ProgramRun {

// This run's name, its lock taken at the first call.
const QString& Own();

// Whether the run of that name still lives (another run's, or this one's); false for an empty name, which
// rows of older versions carry.
bool IsAlive(const QString& run);

} // namespace pagewing::ProgramRun
