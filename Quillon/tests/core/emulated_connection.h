// A connection to the emulated electronics on COM5.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "com_data.h"
#include "probelink.h"
#include "recording_window.h"
#include "temp_config_home.h"
#include "veritrak/emulator.h"

namespace quillon {

class EmulatedConnection : public ::testing::Test {
 protected:
  static constexpr int32_t kPort = 5;

  // Starts electronics of a model and firmware with the head at a position,
  // moving or standing still, and a connection to them; whether it
  // identified them. The head may be adjusted further.
  bool Start(uint16_t model = 1, int32_t head = 0, double speed = 20000,
             uint16_t firmware = 0x0512, void (*adjust)(veritrak::HeadSettings&) = nullptr) {
    veritrak::Options options;
    options.device.modelCode = model, options.device.firmwareVersion = firmware;
    options.head.startPosition = head, options.head.speed = speed, options.line.recordRate = 4000;
    if (adjust) adjust(options.head);
    emulator_ = std::make_unique<veritrak::Emulator>(options);
    home_.LinkPort(kPort, emulator_->DevicePath());
    com_ = std::make_unique<ComData>(kPort, window_);
    message_.clear(), result_ = -1;
    return com_->Identify(message_, result_);
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
  QString message_;
  int32_t result_ = -1;
};

}  // namespace quillon
