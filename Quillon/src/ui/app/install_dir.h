// Where the program's files live. The installation directory is named by
// the value "Install Directory" of the system-scope settings
// "Software/Quillon" (an INI file under the system configuration folder,
// which QSettings::setPath can move); the settings files are kept there when
// the program may write there, else in the user's configuration folder.
#pragma once

#include <QString>

namespace quillon {

// The named directory; without one, the installed program's data folder,
// else the current directory.
QString ReadInstallDir();

// The installed program's data folder beside its binary; empty in the build
// tree, where there is none.
QString InstalledDataDir();

// The installation directory when it is a directory the program may write
// to; else the user's folder for the settings ($XDG_CONFIG_HOME/quillon),
// seeded with the installation directory's settings files on first use.
QString SettingsDir(const QString& installDir);

// Copies the settings files of `from` that `to` lacks; a folder that already
// holds settings keeps them.
void SeedSettings(const QString& from, const QString& to);

}  // namespace quillon
