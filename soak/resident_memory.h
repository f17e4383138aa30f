// The process's resident memory, from /proc/self/statm.
#pragma once

namespace soak {

// In megabytes; 0 when it cannot be read.
double ResidentMegabytes();

}  // namespace soak
