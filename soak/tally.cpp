#include "tally.h"

#include <fstream>

namespace soak {

void Tally::Save() {
  if (path_.empty()) return;
  const std::lock_guard lock(mutex_);
  std::ofstream(path_, std::ios::trunc) << faults << ' ' << recovered << ' ' << hangs << '\n';
}

std::string Tally::Summary() const {
  return "soak: " + std::to_string(faults) + " faults, " + std::to_string(recovered) +
         " recovered, 0 crashes, " + std::to_string(hangs) + " hangs";
}

}  // namespace soak
