#include "port_link.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace veritrak {

namespace fs = std::filesystem;

fs::path PortFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const fs::path base = (xdg && *xdg) ? fs::path(xdg) : fs::path(home ? home : "") / ".config";
  return base / "probelink" / "ports";
}

PortLink::PortLink(int com, const fs::path& target)
    : path_(PortFolder() / ("COM" + std::to_string(com))), target_(target) {
  fs::create_directories(path_.parent_path());
  std::error_code error;
  fs::create_symlink(target_, path_, error);
  if (error && !(error == std::errc::file_exists && LeadsToTarget()))
    throw std::runtime_error(path_.string() + (error == std::errc::file_exists
                                                   ? " already exists and leads elsewhere"
                                                   : ": " + error.message()));
}

PortLink::~PortLink() {
  std::error_code ignored;
  if (LeadsToTarget()) fs::remove(path_, ignored);
}

void PortLink::Retarget(const fs::path& target) {
  if (!LeadsToTarget()) return;
  // Hidden, so that no host takes it for a port of its own.
  const fs::path fresh = path_.parent_path() / ("." + path_.filename().string() + ".new");
  std::error_code ignored;
  fs::remove(fresh, ignored);
  fs::create_symlink(target, fresh);
  fs::rename(fresh, path_);
  target_ = target;
}

void PortLink::Dangle() {
  Retarget(path_.parent_path() / ("." + path_.filename().string() + ".unplugged"));
}

bool PortLink::LeadsToTarget() const {
  std::error_code error;
  return fs::read_symlink(path_, error) == target_ && !error;
}

}  // namespace veritrak
