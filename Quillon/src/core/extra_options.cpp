#include "extra_options.h"

#include <QDir>
#include <QSettings>

namespace quillon {

ExtraOptions ReadExtraOptions(const QString& dir) {
  const QString path = QDir(dir).filePath(QString::fromLatin1(kExtraOptionsFile));
  ExtraOptions o;
  o.allControls = QSettings(path, QSettings::IniFormat).value(QStringLiteral("allcontrols"), false).toBool();
  o.tolerances = measure::ReadTolerances(QFile::encodeName(path).toStdString());
  return o;
}

}  // namespace quillon
