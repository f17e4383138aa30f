// The window's choice of units, read from its settings folder without Qt so
// that the command line shows lengths as the window on the same computer
// does. Only the choice of units is taken; the rest of the file is checked
// so that a file the window would reject gives the window's defaults here
// too.
#pragma once

#include <filesystem>
#include <optional>

namespace probelink_cli {

struct WindowUnits {
  int encoderUnitType = 1;  // 0 a linear grating with a pitch, 1 encoder counts
  int displayUnitType = 0;  // with a grating: the index into kLengthUnits
};

inline constexpr char kSettingsFile[] = "Quillon.ini";

// The units of `folder`'s settings files: their defaults (encoder counts)
// for files the window would not accept; nothing when the folder has no
// settings file at all.
std::optional<WindowUnits> ReadWindowUnits(const std::filesystem::path& folder);

}  // namespace probelink_cli
