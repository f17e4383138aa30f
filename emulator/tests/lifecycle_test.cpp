// Starting and stopping the emulator, from several threads at once and while
// a host streams from it.
#include <atomic>
#include <filesystem>
#include <thread>

#include "emulator_fixture.h"

namespace veritrak {
namespace {

using Lifecycle = EmulatorOnPort;

TEST_F(Lifecycle, ManyQuickStartsAndStops) {
  for (int i = 0; i < 20; ++i)
    EXPECT_TRUE(std::filesystem::is_character_file(Emulator(options_).DevicePath()));
}

// A host reading a stream sees its reads fail once the electronics are gone,
// and nothing hangs, however many threads stop them at once.
TEST_F(Lifecycle, StopFromSeveralThreadsWhileAHostStreams) {
  Serve();
  ASSERT_EQ(BeginAsyncWren(kPort, 4, kSignalRegisters), 0);
  std::atomic<int> records{0};
  std::thread host([&] {
    uint16_t w[4];
    while (ReadAsyncWren(kPort, 4, w) == 0) ++records;
  });
  EXPECT_TRUE(Eventually([&] { return records > 10; }));
  std::thread a([&] { emulator_->Stop(); }), b([&] { emulator_->Stop(); });
  emulator_->Stop();
  for (std::thread* t : {&a, &b, &host}) t->join();
}

}  // namespace
}  // namespace veritrak
