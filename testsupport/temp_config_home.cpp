#include "temp_config_home.h"

#include <stdlib.h>

#include <stdexcept>

namespace testsupport {

TempConfigHome::TempConfigHome() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillon-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  std::filesystem::create_directories(PortFolder());
  if (const char* old = getenv("XDG_CONFIG_HOME")) {
    previous_ = old;
    hadPrevious_ = true;
  }
  setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
}

TempConfigHome::~TempConfigHome() {
  if (hadPrevious_)
    setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void TempConfigHome::LinkPort(int com, const std::filesystem::path& target) const {
  UnlinkPort(com);
  std::filesystem::create_symlink(target, PortFolder() / ("COM" + std::to_string(com)));
}

void TempConfigHome::UnlinkPort(int com) const {
  std::error_code ignored;
  std::filesystem::remove(PortFolder() / ("COM" + std::to_string(com)), ignored);
}

}  // namespace testsupport
