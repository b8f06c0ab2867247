#pragma once

#include "gateway-sim/Options.h"

#include <QString>
#include <QStringList>

namespace pagewing::sim {

class OptionsParser {
public:
    struct Outcome {
        enum class Kind { Run, Help, Version, Error };

        Kind What = Kind::Run;
        Options Settings;
        // The help text for Help, the version line for Version, the reason for Error.
        QString Message;
    };

    // The arguments as QCoreApplication::arguments() gives them, the program name first.
    static Outcome Parse(const QStringList& arguments);
};

} // namespace pagewing::sim
