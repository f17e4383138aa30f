// The electronics' registers. Settings keep what the host wrote until the
// next power cycle; measurements come from the signal sample of the moment.
#pragma once

#include <array>
#include <cstdint>

#include "probelink_registers.h"
#include "signal_model.h"

namespace veritrak {

using probelink::reg::kWriteOffset;

class RegisterFile {
 public:
  explicit RegisterFile(uint16_t modelCode);

  uint16_t Stored(uint8_t reg) const;
  // Measurements and the model register ignore writes.
  void Write(uint8_t reg, uint16_t value);
  void PowerOn() { values_ = powerOn_; }

 private:
  std::array<uint16_t, kWriteOffset> powerOn_{};
  std::array<uint16_t, kWriteOffset> values_{};
};

uint16_t ReadRegister(uint8_t reg, const RegisterFile& file, const Sample& sample);

}  // namespace veritrak
