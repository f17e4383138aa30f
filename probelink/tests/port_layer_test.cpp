// Opening, closing, exclusivity, port names, the line setting and the
// time-outs of the port layer, on real pseudo-terminals where the OS matters.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>

#include "pty_fixture.h"
#include "serial_posix.h"

namespace {

namespace fs = std::filesystem;

TEST_F(PtyPortTest, ASecondOpenChangesNothingAndAnOpenIsExclusive) {
  ASSERT_EQ(ConfigPort(kPort, 120, 19200), 0);
  pty_.Write({1, 2, 3});
  for (int i = 0; i < 2000 && pty_.SlaveInputQueued() < 3; ++i) std::this_thread::sleep_for(1ms);
  ASSERT_EQ(OpenPort(kPort), 0);
  int32_t timeout = 0, baud = 0;
  ASSERT_EQ(GetPortConfig(kPort, &timeout, &baud), 0);
  EXPECT_EQ(std::pair(timeout, baud), std::pair(120, 19200));
  EXPECT_EQ(GetPortConfig(kPort, &timeout, nullptr), -1);
  EXPECT_EQ(pty_.SlaveInputQueued(), 3u);
  EXPECT_EQ(ClearRxBuffer(kPort), 0);
  EXPECT_EQ(pty_.SlaveInputQueued(), 0u);
  EXPECT_EQ(ClearTxBuffer(kPort), 0);
  EXPECT_EQ(PurgeRxTx(kPort), 0);
  home_.LinkPort(7, home_.Root() / "no-such-device");
  EXPECT_EQ(OpenPort(7), -1);
  EXPECT_EQ(LastOpenError(), ENOENT);
  EXPECT_EQ(OpenPort(17), -1) << "out of range: the previous open's result";
  home_.LinkPort(7, pty_.SlavePath());
  EXPECT_EQ(OpenPort(7), -1) << "the device is held through COM5";
  EXPECT_EQ(LastOpenError(), EBUSY);
  // A device nobody may open; root is nobody for the open.
  const auto locked = home_.Root() / "locked";
  std::ofstream(locked) << 'x';
  fs::permissions(locked, fs::perms::none);
  for (fs::path dir = home_.PortFolder(); dir != home_.Root().parent_path(); dir = dir.parent_path())
    fs::permissions(dir, fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add);
  home_.LinkPort(8, locked);
  const bool root = geteuid() == 0;
  ASSERT_TRUE(!root || seteuid(65534) == 0);
  EXPECT_EQ(OpenPort(8), -1);
  ASSERT_TRUE(!root || seteuid(0) == 0);
  EXPECT_EQ(LastOpenError(), EACCES);
  EXPECT_EQ(ClosePort(kPort), 0);
  EXPECT_EQ(ClosePort(kPort), -1) << "closing a closed slot is a refusal";
  EXPECT_EQ(OpenPort(7), 0);
  EXPECT_EQ(LastOpenError(), 0);
  EXPECT_EQ(OpenPort(0), 0);
}

// The fixture opens its own port through the link folder.
TEST_F(PtyPortTest, PortsResolveThroughTheLinkFolderElseTheDefaultDevices) {
  ASSERT_EQ(ClosePort(kPort), 0);
  home_.UnlinkPort(kPort);
  const std::pair<int32_t, const char*> defaults[] = {{1, "/dev/ttyS0"},    {4, "/dev/ttyS3"},
                                                      {5, "/dev/ttyUSB0"},  {12, "/dev/ttyUSB7"},
                                                      {13, "/dev/ttyACM0"}, {16, "/dev/ttyACM3"}};
  char path[64];
  for (const auto& [port, device] : defaults)
    EXPECT_TRUE(PortDevice(port, path, sizeof path) > 0 && path == std::string(device)) << port;
  home_.LinkPort(16, pty_.SlavePath());
  const std::string link = (home_.PortFolder() / "COM16").string();
  EXPECT_EQ(PortDevice(16, path, sizeof path), int32_t(link.size()));
  EXPECT_EQ(path, link);
  EXPECT_EQ(PortDevice(16, path, int32_t(link.size())), -1) << "no room for the NUL";
  EXPECT_EQ(PortDevice(17, path, sizeof path), -1);
  EXPECT_EQ(OpenPort(16), 0);
}

TEST_F(PtyPortTest, TheLineSettingIsJudgedByReadingItBack) {
  DCB dcb{};
  COMMTIMEOUTS t{};
  COMMPROP properties{};
  ASSERT_EQ(GetCompleteComConfig(kPort, &dcb, &t, &properties), 0);
  EXPECT_EQ(std::tuple(+dcb.fOutX, +dcb.fInX, +dcb.fParity), std::tuple(0u, 0u, 0u));
  EXPECT_EQ(
      std::tuple(t.ReadIntervalTimeout, t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutConstant),
      std::tuple(0u, 100u, 100u));
  EXPECT_EQ(properties.wPacketLength, sizeof(COMMPROP));
  EXPECT_EQ(ConfigPort(kPort, 100, 57600), 0) << "any baud rate is taken";
  EXPECT_EQ(ConfigPort(kPort, 100, 0), -1);
  DCB asked{};
  asked.BaudRate = 9600;
  asked.ByteSize = 7;
  asked.Parity = NOPARITY;
  asked.StopBits = TWOSTOPBITS;
  EXPECT_EQ(SetCompleteComConfig(kPort, asked, {0, 0, 70, 0, 80}, 4096, 4096), 0);
  ASSERT_EQ(GetCompleteComConfig(kPort, &dcb, &t, &properties), 0);
  EXPECT_EQ(std::tuple(dcb.BaudRate, dcb.ByteSize, dcb.StopBits), std::tuple(9600u, 8, ONESTOPBIT))
      << "the framing is forced";
  EXPECT_EQ(std::pair(t.ReadTotalTimeoutConstant, t.WriteTotalTimeoutConstant),
            std::pair(70u, 80u));
  asked.BaudRate = 0;
  EXPECT_EQ(SetCompleteComConfig(kPort, asked, {0, 0, 70, 0, 80}, 4096, 4096), -1);
  EXPECT_EQ(GetCompleteComConfig(kPort, &dcb, &t, nullptr), -3);
  EXPECT_EQ(GetCompleteComConfig(kPort, &dcb, nullptr, nullptr), -2);
}

TEST_F(PtyPortTest, ReadsEndAtTheirTotalTimeoutOrOnceTheirBytesHaveComeAndNothingIsFramed) {
  uint8_t got[4] = {};
  int32_t count = -1;
  for (int32_t ms : {25, 50, 100}) {
    ASSERT_EQ(ConfigPort(kPort, ms, 38400), 0);
    const auto start = Clock::now();
    EXPECT_EQ(ReadRs232Data(kPort, 1, got, &count), -1);
    const auto elapsed = Clock::now() - start;
    EXPECT_EQ(count, 0);
    EXPECT_GE(elapsed, std::chrono::milliseconds(ms));
    EXPECT_LT(elapsed, std::chrono::milliseconds(ms) + 1s) << "the read must end at its time-out";
  }
  ASSERT_EQ(ConfigPort(kPort, 5000, 38400), 0);
  pty_.Write({1, 2, 3, 4, 5, 6});
  const auto start = Clock::now();
  EXPECT_EQ(ReadRs232Data(kPort, 4, got, &count), 1);
  EXPECT_LT(Clock::now() - start, 4s);
  EXPECT_EQ(Bytes(got, got + 4), (Bytes{1, 2, 3, 4}));
  ASSERT_EQ(ConfigPort(kPort, 100, 38400), 0);
  EXPECT_EQ(ReadRs232Data(kPort, 4, got, &count), -1) << "fewer than asked for";
  EXPECT_EQ(count, 2);
  EXPECT_EQ(WriteRs232Data(kPort, 3, got), 3);
  EXPECT_EQ(pty_.Read(3, 2s), (Bytes{5, 6, 3})) << "raw bytes go out unframed";
  EXPECT_EQ(SystemReset(kPort), -1) << "a pseudo-terminal has no DTR to pulse";
}

// Once bytes flow, a read waits for the rest as long as the line's rate
// says they take; at 1200 baud the 397 missing here would take 3.6 s. The
// caller's time-outs still end the read: the total one, and the gap after
// the last byte, which needs each byte seen as it comes.
TEST_F(PtyPortTest, AReadOnASlowLineStillEndsAtItsTimeOut) {
  const COMMTIMEOUTS cases[] = {{0, 0, 100, 0, 0}, {20, 0, 10000, 0, 0}};
  for (const COMMTIMEOUTS& timeouts : cases) {
    DCB dcb{};
    dcb.BaudRate = 1200;
    ASSERT_EQ(SetCompleteComConfig(kPort, dcb, timeouts, 4096, 4096), 0);
    pty_.Write({1, 2, 3});
    uint8_t got[400] = {};
    int32_t count = -1;
    const auto start = Clock::now();
    EXPECT_EQ(ReadRs232Data(kPort, 400, got, &count), -1);
    EXPECT_LT(Clock::now() - start, 1500ms) << "interval " << timeouts.ReadIntervalTimeout;
    EXPECT_EQ(Bytes(got, got + count), (Bytes{1, 2, 3}));
  }
}

// The OS layer tells silence from a device gone: a silent line ends its read
// at the time-out as a call that succeeded with what came; an unplugged
// device fails its reads and writes at once, whatever the time-out. Through
// the library, a sync then says -1 for silence and -2 for a failed read.
TEST(SerialLine, TellsADeviceGoneFromASilentLine) {
  testsupport::PtyPair pty;
  int error = 0;
  const std::unique_ptr<probelink::SerialPosix> line =
      probelink::SerialPosix::Open(pty.SlavePath(), error);
  ASSERT_TRUE(line) << error;
  COMMTIMEOUTS timeouts{};
  timeouts.ReadTotalTimeoutConstant = 50;
  ASSERT_TRUE(line->SetTimeouts(timeouts));
  uint8_t bytes[4] = {};
  probelink::IoResult r = line->Read(bytes, 4);
  EXPECT_TRUE(r.ok && r.count == 0) << "silence is a time-out";
  pty.Write({7, 8});
  r = line->Read(bytes, 4);
  EXPECT_TRUE(r.ok && r.count == 2) << "a short reply is a time-out with what came";
  timeouts.ReadTotalTimeoutConstant = timeouts.WriteTotalTimeoutConstant = 10000;
  ASSERT_TRUE(line->SetTimeouts(timeouts));
  pty.HangUp();
  const auto start = Clock::now();
  r = line->Read(bytes, 4);
  EXPECT_FALSE(r.ok) << "a device gone is a failed read";
  EXPECT_FALSE(line->Write(bytes, 1).ok) << "and a failed write";
  EXPECT_LT(Clock::now() - start, 5s) << "told at once, not at the time-out";
}

TEST_F(PtyPortTest, ASyncIsMinusOneOnASilentLineAndMinusTwoOnADeviceGone) {
  ASSERT_EQ(ConfigPort(kPort, 25, 38400), 0);
  EXPECT_EQ(SendSync(kPort), -1);
  pty_.HangUp();
  EXPECT_EQ(SendSync(kPort), -2);
  EXPECT_EQ(DoSynchronize(kPort), 0);
}

// Synchronising reads at a time-out of its own for the while; a caller's
// "return at once" that came back as "no time-out" would wait on a silent
// line for ever, so a read still blocked after 2 s is let go by a byte.
TEST_F(PtyPortTest, AReadThatReturnsAtOnceStillDoesSoAfterSynchronising) {
  DCB dcb{};
  dcb.BaudRate = 38400;
  ASSERT_EQ(SetCompleteComConfig(kPort, dcb, {PROBELINK_MAXDWORD, 0, 0, 0, 0}, 4096, 4096), 0);
  EXPECT_EQ(DoSynchronize(kPort), 0) << "nothing answers";
  uint8_t byte = 0;
  auto read =
      std::async(std::launch::async, [&] { return ReadRs232Data(kPort, 1, &byte, nullptr); });
  if (read.wait_for(2s) != std::future_status::ready) {
    ADD_FAILURE() << "the read waits for ever";
    pty_.Write({0});
  }
  EXPECT_EQ(read.get(), -1);
}

}  // namespace
