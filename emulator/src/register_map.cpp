#include "register_map.h"

#include <algorithm>
#include <cmath>

namespace veritrak {
namespace {

using namespace probelink::reg;
namespace status = probelink::status;

constexpr uint16_t kHardwareRevision = 0x02;

// The fastest count rate the output stage may be asked for, by frequency
// setting 1 to 6; a faster head raises the overspeed flag.
constexpr double kFastestOutputRate = 4e6;

uint8_t Unmirrored(uint8_t reg) {
  return (reg >= kMirrorFirst && reg <= kMirrorLast) ? reg + kMirrorOffset : reg;
}

bool IsReadOnly(uint8_t reg) {
  switch (Unmirrored(reg)) {
    case kIndexAngle:
    case kOverspeed:
    case kModel:
    case kStatus:
    case kRisingEdge:
    case kFallingEdge:
    case kCosine:
    case kSine:
    case kMagnitude:
    case kPositionLow:
    case kPositionMiddle:
    case kPositionHigh:
    case kInterpolatedAngle:
      return true;
    default:
      return false;
  }
}

// A 12-bit value placed in bits 4 to 15.
uint16_t Upper12(int32_t value) { return static_cast<uint16_t>((value & 0xFFF) << 4); }

uint32_t InterpolationLevel(const RegisterFile& file) {
  return (file.Stored(kInterpolation) >> 4) + 1u;
}

uint16_t StatusWord(const RegisterFile& file, const Sample& s) {
  uint16_t word = 0;
  if (s.level <= file.Stored(kRedAlarmLevel)) word |= status::kRedAlarm;
  if (s.level <= file.Stored(kYellowAlarmLevel)) word |= status::kYellowAlarm;
  if (s.atIndex) word |= status::kAtIndex;
  if (s.centring == IndexCentring::Phase::Centred) word |= status::kCentred;
  if (s.centring == IndexCentring::Phase::Centring) word |= status::kCentring;
  return word;
}

bool Overspeed(const RegisterFile& file, const Sample& s) {
  const int setting = std::clamp(file.Stored(kStatusSetup) & 7, 1, 6);
  const double countRate = std::abs(s.velocity) / kCountsPerPeriod * InterpolationLevel(file);
  return countRate > kFastestOutputRate / (1 << (setting - 1));
}

}  // namespace

RegisterFile::RegisterFile(uint16_t modelCode) {
  powerOn_[kGeneral] = 0x0012;
  powerOn_[kStatusSetup] = 0x0011;    // fastest output, adaptive correction on
  powerOn_[kInterpolation] = 0x0FF0;  // level 256
  powerOn_[kRedAlarmLevel] = 229;     // signal vector lengths
  powerOn_[kYellowAlarmLevel] = 325;
  powerOn_[kGreenLowLevel] = 326;
  powerOn_[kModel] = static_cast<uint16_t>(((modelCode & 0xF) << 5) | kHardwareRevision);
  powerOn_[kGainX] = 0x0800;
  powerOn_[kGainY] = 0x0800;
  values_ = powerOn_;
}

uint16_t RegisterFile::Stored(uint8_t reg) const { return reg < kWriteOffset ? values_[reg] : 0; }

void RegisterFile::Write(uint8_t reg, uint16_t value) {
  if (reg < kWriteOffset && !IsReadOnly(reg)) values_[reg] = value;
}

uint16_t ReadRegister(uint8_t reg, const RegisterFile& file, const Sample& s) {
  const int32_t counter = static_cast<int32_t>(s.counter);
  switch (Unmirrored(reg)) {
    case kIndexAngle:
      return Upper12(s.indexCentre);
    case kOverspeed:
      return Overspeed(file, s) ? 1 : 0;
    case kStatus:
      return StatusWord(file, s);
    case kRisingEdge:
      return Upper12(s.risingEdge);
    case kFallingEdge:
      return Upper12(s.fallingEdge);
    case kCosine:
      return Upper12(s.cosine);
    case kSine:
      return Upper12(s.sine);
    case kMagnitude:
      return Upper12(s.magnitude);
    case kPositionLow:
      return Upper12(counter);
    case kPositionMiddle:
      return static_cast<uint16_t>(counter >> 12);
    case kPositionHigh:
      return static_cast<uint16_t>((counter >> 28) & 3);
    case kInterpolatedAngle:
      return static_cast<uint16_t>(
          (static_cast<uint32_t>(counter & 0xFFF) * InterpolationLevel(file)) >> 12);
    default:
      return file.Stored(reg);
  }
}

}  // namespace veritrak
