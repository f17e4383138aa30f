// An emulator serving in-process, linked as a COM port in a private
// configuration folder and opened through probelink the way the main program
// opens it; and frames as the host puts them on the wire.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "probelink.h"
#include "temp_config_home.h"
#include "veritrak/emulator.h"
#include "wire_format.h"

namespace veritrak {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

// The head, then the body, then the sum of all their bytes, low byte first;
// built here from the layout rather than by the emulator's own code.
Bytes Framed(Bytes head, const Bytes& body);
inline Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// Start byte, command, the length twice, the payload, the checksum.
inline Bytes Request(uint8_t command, const Bytes& payload) {
  const auto n = static_cast<uint8_t>(payload.size());
  return Framed({kStartByte, command, n, n}, payload);
}

// A standing head, no noise and one amplitude: every reading is predictable.
Options SteadyOptions();

// Polls until `condition` holds or `limit` has passed.
bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s);

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
  Bytes Exchange(const Bytes& bytes, size_t n);
  // True when not a single byte arrives within the port's time-out.
  bool LineQuiet();
  // Back in step, answering, and nothing else on the line.
  void ExpectInStep();

  testsupport::TempConfigHome home_;
  std::unique_ptr<Emulator> emulator_;
};

}  // namespace veritrak
