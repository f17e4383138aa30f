#include "install_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace quillon {
namespace {

const char* const kSettingsFiles[] = {"Quillon.ini", "grating2.ini"};

}  // namespace

// The data folder of an installed program lies at a fixed place beside its
// binary.
QString InstalledDataDir() {
#ifdef QUILLON_RELATIVE_DATA_DIR
  const QDir data(QDir(QCoreApplication::applicationDirPath()).filePath(
      QStringLiteral(QUILLON_RELATIVE_DATA_DIR)));
  if (data.exists()) return data.absolutePath();
#endif
  return {};
}

QString ReadInstallDir() {
  const QSettings system(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("Software"),
                         QStringLiteral("Quillon"));
  const QString dir = system.value(QStringLiteral("Install Directory")).toString();
  if (system.status() == QSettings::NoError && !dir.isEmpty()) return dir;
  const QString installed = InstalledDataDir();
  return installed.isEmpty() ? QDir::currentPath() : installed;
}

QString SettingsDir(const QString& installDir) {
  const QFileInfo install(installDir);
  if (install.isDir() && install.isWritable()) return installDir;
  const QString user =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/quillon";
  QDir().mkpath(user);
  SeedSettings(installDir, user);
  return user;
}

void SeedSettings(const QString& from, const QString& to) {
  for (const char* name : kSettingsFiles) {
    const QString target = QDir(to).filePath(QString::fromLatin1(name));
    if (!QFile::exists(target)) QFile::copy(QDir(from).filePath(QString::fromLatin1(name)), target);
  }
}

}  // namespace quillon
