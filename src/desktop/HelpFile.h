#pragma once

#include <QString>

namespace pagewing::HelpFile {

// The help page: beside the executable, or in the installed data folder; empty when there is none.
QString Locate(const QString& fileName);

} // namespace pagewing::HelpFile
