#include "install_dir.h"

#include <QDir>
#include <QSettings>

namespace quillon {

QString ReadInstallDir() {
  const QSettings system(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("Software"),
                         QStringLiteral("Quillon"));
  const QString dir = system.value(QStringLiteral("Install Directory")).toString();
  if (system.status() != QSettings::NoError || dir.isEmpty()) return QDir::currentPath();
  return dir;
}

}  // namespace quillon
