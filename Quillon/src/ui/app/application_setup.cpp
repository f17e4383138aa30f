#include "application_setup.h"

#include <QApplication>

namespace quillon {

// Only the name: a display name would be appended by the window system to
// every window title, and the titles are the program's own texts.
void SetUpApplication() { QApplication::setApplicationName(QStringLiteral("Quillon")); }

}  // namespace quillon
