// A connection to the emulated electronics on COM5, identified and ready.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "com_data.h"
#include "probelink.h"
#include "recording_window.h"
#include "temp_config_home.h"
#include "veritrak/emulator.h"

namespace quillon {

// Electronics of a model with the head at a position, moving or standing still.
inline veritrak::Options Emulated(uint16_t model = 1, int32_t head = 0, double speed = 20000) {
  veritrak::Options options;
  options.device.modelCode = model;
  options.head.startPosition = head;
  options.head.speed = speed;
  options.line.recordRate = 4000;
  return options;
}

class EmulatedConnection : public ::testing::Test {
 protected:
  static constexpr int32_t kPort = 5;

  void Start(const veritrak::Options& options = Emulated()) {
    emulator_ = std::make_unique<veritrak::Emulator>(options);
    home_.LinkPort(kPort, emulator_->DevicePath());
    com_ = std::make_unique<ComData>(kPort, window_);
  }
  void StartIdentified(const veritrak::Options& options = Emulated()) {
    Start(options);
    QString message;
    int32_t result = -1;
    ASSERT_TRUE(com_->Identify(message, result));
  }
  void TearDown() override {
    com_.reset();
    ClosePort(kPort);
  }
  // Waits until the connection's thread has completed.
  bool WaitStopped(int limitMs = 10000) {
    return ProcessUntil([&] { return !com_->ThreadRunning && !com_->ThreadAlive(); }, limitMs);
  }

  testsupport::TempConfigHome home_;
  RecordingWindow window_;
  std::unique_ptr<veritrak::Emulator> emulator_;
  std::unique_ptr<ComData> com_;
};

}  // namespace quillon
