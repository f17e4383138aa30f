// The COMn link in probelink's port folder that leads hosts to the emulator.
#pragma once

#include <filesystem>
#include <string>

namespace veritrak {

// ${XDG_CONFIG_HOME:-$HOME/.config}/probelink/ports
std::filesystem::path PortFolder();

class PortLink {
 public:
  // Creates the folder as needed. Throws std::runtime_error when COMn exists
  // and leads somewhere else: somebody else's port is never taken over.
  PortLink(int com, const std::filesystem::path& target);
  // Removes the link, unless it has meanwhile been pointed elsewhere.
  ~PortLink();
  PortLink(const PortLink&) = delete;
  PortLink& operator=(const PortLink&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Points the link at a new target in one step, so that a host never finds
  // COMn missing; a link meanwhile pointed elsewhere is left alone.
  void Retarget(const std::filesystem::path& target);
  // Points the link at nothing, as a device node vanishes with its adapter:
  // the pseudo-terminal's number is soon another program's, and a host that
  // reopens COMn meanwhile must not take that one.
  void Dangle();

 private:
  bool LeadsToTarget() const;

  std::filesystem::path path_;
  std::filesystem::path target_;
};

}  // namespace veritrak
