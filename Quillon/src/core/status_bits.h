// The bits of the electronics' status word that the program reads.
#pragma once

#include "probelink_registers.h"

namespace quillon {
namespace bit = probelink::status;
}  // namespace quillon
