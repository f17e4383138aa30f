#include "resident_memory.h"

#include <unistd.h>

#include <fstream>

namespace soak {

double ResidentMegabytes() {
  long totalPages = 0, residentPages = 0;
  if (!(std::ifstream("/proc/self/statm") >> totalPages >> residentPages)) return 0;
  return static_cast<double>(residentPages) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
         (1024.0 * 1024.0);
}

}  // namespace soak
