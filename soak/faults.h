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

// The faults of round `round`, counted from 1.
std::vector<FaultKind> Faults(int round);

}  // namespace soak
