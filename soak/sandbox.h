// Where the soaked window may write and which devices it may open: a private
// configuration folder whose port links lead nowhere but to the emulator, and
// temporary installation and system-settings folders.
#pragma once

#include <QTemporaryDir>
#include <string>

#include "temp_config_home.h"

namespace soak {

class Sandbox {
 public:
  // Every COM port points at a path with nothing behind it.
  Sandbox();
  bool Valid() const { return installDir_.isValid() && systemDir_.isValid(); }
  void LinkPort(int com, const std::string& device) const { home_.LinkPort(com, device); }

 private:
  testsupport::TempConfigHome home_;
  QTemporaryDir installDir_, systemDir_;
};

}  // namespace soak
