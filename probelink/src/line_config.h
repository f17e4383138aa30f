// The one line setting the electronics use, and saving and restoring the
// time-out around a temporary change.
#pragma once

#include <cstdint>

#include "transport.h"

namespace probelink {

// 0 applied, -1 line setting or time-outs refused.
int32_t ConfigureLine(Transport& line, int32_t timeoutMs, int32_t baud);
// 0 and the outputs set, -1 unreadable (outputs untouched).
int32_t ReadLineConfig(Transport& line, int32_t& timeoutMs, int32_t& baud);
// The setting forced whatever the caller asks: 8 data bits, even parity, 1 stop bit.
void ForceFraming(DCB& dcb);

}  // namespace probelink
