// An emulator serving in-process, linked as a COM port in a private
// configuration folder and opened through probelink the way the main program
// opens it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "probelink.h"
#include "temp_config_home.h"
#include "veritrak/emulator.h"

namespace veritrak {

// A standing head, no noise and one amplitude: every reading is predictable.
Options SteadyOptions();

// Polls until `condition` holds or `limit` has passed.
bool Eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds limit = std::chrono::seconds(10));

class EmulatorOnPort : public ::testing::Test {
 public:
  static constexpr int32_t kPort = 5;
  static constexpr int32_t kHostTimeoutMs = 100;

 protected:
  void TearDown() override;
  void Serve(const Options& options = SteadyOptions());
  Emulator& Device() { return *emulator_; }

  // A Wren register read that must succeed.
  uint16_t Read(uint8_t reg);
  // Writes raw bytes and reads up to `n` back within the port's time-out.
  std::vector<uint8_t> Exchange(const std::vector<uint8_t>& bytes, size_t n);
  // True when not a single byte arrives within the port's time-out.
  bool LineQuiet();

  testsupport::TempConfigHome home_;
  std::unique_ptr<Emulator> emulator_;
};

}  // namespace veritrak
