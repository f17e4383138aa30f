// Windows port names: reserved names below 10, the device namespace above,
// and a port that is not there refused with the system's own reason.
#include <gtest/gtest.h>

#include <string>

#include "probelink.h"

namespace {

TEST(WindowsPorts, AreNamedAsTheSystemNamesThem) {
  const std::pair<int32_t, const char*> names[] = {
      {1, "COM1"}, {9, "COM9"}, {10, "\\\\.\\COM10"}, {16, "\\\\.\\COM16"}};
  char path[16];
  for (const auto& [port, name] : names)
    EXPECT_TRUE(PortDevice(port, path, sizeof path) > 0 && path == std::string(name)) << port;
  EXPECT_EQ(PortDevice(0, path, sizeof path), -1);
  EXPECT_EQ(PortDevice(10, path, 9), -1) << "no room for the NUL";
}

TEST(WindowsPorts, APortThatIsNotThereIsRefusedWithItsReason) {
  constexpr int32_t kMissing = 16;  // a private prefix maps no port that high
  EXPECT_EQ(OpenPort(kMissing), -1);
  EXPECT_EQ(LastOpenError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadStatus(kMissing), -2) << "the slot stays closed";
}

}  // namespace
