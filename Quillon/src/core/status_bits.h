// The bits of the electronics' status word that the program reads.
#pragma once

#include <cstdint>

namespace quillon::bit {

constexpr int32_t kRedAlarm = 0x0004;
constexpr int32_t kYellowAlarm = 0x0008;
constexpr int32_t kAtIndex = 0x0200;
constexpr int32_t kCenteringDone = 0x0400;
constexpr int32_t kCentering = 0x0800;

}  // namespace quillon::bit
