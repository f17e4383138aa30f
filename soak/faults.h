// The emulator's faults, each put in force and cleared as a whole. How bad
// the line is changes from round to round, so that a longer soak also meets
// the edges: damage that breaks nearly every frame or only a few, replies
// far beyond the window's time-outs or just past them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "veritrak/emulator.h"

namespace soak {

struct FaultKind {
  std::string name;
  std::function<void(veritrak::Emulator&)> apply, clear;
};

// Leads the window's port to the electronics' device: once more when an
// unplugged adapter is back, perhaps under another name.
using LinkDevice = std::function<void(const std::string& device)>;

// The faults of round `round`, counted from 1.
std::vector<FaultKind> Faults(int round, const LinkDevice& link);

}  // namespace soak
