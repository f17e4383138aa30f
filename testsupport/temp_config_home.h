// A throw-away $XDG_CONFIG_HOME for one test process, so tests never touch
// the user's own port links or settings.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

class TempConfigHome {
 public:
  TempConfigHome();
  ~TempConfigHome();
  TempConfigHome(const TempConfigHome&) = delete;
  TempConfigHome& operator=(const TempConfigHome&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path PortFolder() const { return root_ / "probelink" / "ports"; }
  // Points COMn at target (replacing an existing link).
  void LinkPort(int com, const std::filesystem::path& target) const;
  void UnlinkPort(int com) const;

 private:
  std::filesystem::path root_;
  std::string previous_;
  bool hadPrevious_ = false;
};

}  // namespace testsupport
