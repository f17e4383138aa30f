// The program's options.
#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <string>

#include "veritrak/emulator.h"

namespace veritrak {

struct ProgramOptions {
  int com = 3;
  Options emulator;
  // Pull the cable once, this long after start.
  std::optional<std::chrono::milliseconds> silentAfter;
  // How long a pulled cable stays out; none: until SIGUSR2.
  std::optional<std::chrono::milliseconds> silentFor;
  // Unplug the adapter once, this long after start.
  std::optional<std::chrono::milliseconds> vanishAfter;
  // How long an unplugged adapter stays out.
  std::chrono::milliseconds vanishFor{2000};
  bool help = false;
  bool version = false;
};

// `args` without the program name. Throws std::invalid_argument naming the
// option at fault.
ProgramOptions ParseCommandLine(std::span<const char* const> args);
std::string UsageText();
std::string VersionText();

}  // namespace veritrak
