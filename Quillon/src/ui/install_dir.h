// Where the program's settings files live: the value "Install Directory" of
// the system-scope settings "Software/Quillon" (an INI file under the
// system configuration folder, which QSettings::setPath can move).
#pragma once

#include <QString>

namespace quillon {

// The named directory, or the current directory when the file, the value or
// its text is missing.
QString ReadInstallDir();

}  // namespace quillon
