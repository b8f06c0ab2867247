#include "session/GlobalSettings.h"

namespace pagewing {

SettingsRecord GlobalSettings;

} // namespace pagewing
