// Starting and stopping the emulator, also while a host talks to it and
// while other threads change its faults.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

TEST(Lifecycle, QuickStartsAndStopsAndStopsFromSeveralThreadsAtOnce) {
  for (int i = 0; i < 20; ++i) {
    Emulator emulator(SteadyOptions());
    EXPECT_TRUE(std::filesystem::is_character_file(emulator.DevicePath()));
    std::thread a([&] { emulator.Stop(); });
    std::thread b([&] { emulator.Stop(); });
    emulator.Stop();
    a.join();
    b.join();
  }
}

using LiveLifecycle = EmulatorOnPort;

// A host reading a stream sees its reads fail once the electronics are gone,
// and nothing hangs.
TEST_F(LiveLifecycle, StopWhileAHostStreams) {
  Serve();
  const uint8_t regs[] = {0x65, 0x64, 0x67, 0x26};
  ASSERT_EQ(BeginAsyncWren(kPort, 4, regs), 0);
  std::atomic<int> records{0};
  std::thread host([&] {
    uint16_t w[4];
    while (ReadAsyncWren(kPort, 4, w) == 0) ++records;
  });
  EXPECT_TRUE(Eventually([&] { return records > 10; }));
  Device().Stop();
  host.join();
}

TEST_F(LiveLifecycle, FaultsChangedFromAnotherThreadWhileServing) {
  Serve();
  std::atomic<bool> done{false};
  std::thread meddler([&] {
    for (int i = 0; !done; ++i) {
      Device().SetCorruptFraction(i % 2 ? 0.0 : 0.01);
      Device().SetLateBy(std::chrono::milliseconds(i % 3));
      Device().SetRefuseAcks(i % 5 == 0);
      std::this_thread::sleep_for(1ms);
    }
  });
  for (int i = 0; i < 30; ++i) {
    ClearRxBuffer(kPort);
    (void)ReadMSPVersion(kPort);
    (void)WriteRegisterWren(kPort, 0x820001);
  }
  done = true;
  meddler.join();
  Device().SetCorruptFraction(0);
  Device().SetLateBy(0ms);
  Device().SetRefuseAcks(false);
  ExpectInStep();
}

}  // namespace
}  // namespace veritrak
