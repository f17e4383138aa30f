#include "sandbox.h"

#include <QSettings>

namespace soak {
namespace {
constexpr int kPorts = 16;
}  // namespace

Sandbox::Sandbox() {
  QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, systemDir_.path());
  QSettings system(QSettings::IniFormat, QSettings::SystemScope, "Software", "Quillon");
  system.setValue("Install Directory", installDir_.path());
  system.sync();
  for (int com = 1; com <= kPorts; ++com)
    home_.LinkPort(com, home_.Root() / ("absent-COM" + std::to_string(com)));
}

}  // namespace soak
