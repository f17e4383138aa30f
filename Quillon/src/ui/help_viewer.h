// The help files live in the installation directory; the desktop's own
// viewer shows them.
#pragma once

#include <QString>

namespace quillon {

class Questions;

// Makes `installDir` the current directory (as the settings files do) and
// opens `fileName` from it, or says which file is missing.
void ShowHelp(const QString& installDir, const QString& fileName, Questions& questions);

}  // namespace quillon
