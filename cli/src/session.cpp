#include "session.h"

#include <thread>

#include "electronics.h"
#include "exit_status.h"
#include "port_access.h"
#include "probelink.h"

namespace probelink_cli {
namespace {

constexpr int32_t kTimeoutMs = 100;
constexpr int32_t kBaud = 38400;
constexpr int32_t kSyncTimeoutMs = 25;
constexpr int kSyncAttempts = 13;
// A stop run long enough for any stream the window starts.
constexpr int32_t kStopRunValues = 10;
constexpr auto kStopSettle = std::chrono::milliseconds(20);
constexpr int kFirmwareFamily = 5;
// What a sync answers when the line could not be read at all.
constexpr int32_t kReadFailed = -2;

}  // namespace

Session::Session(const std::string& port) : route_(port), com_(route_.Com()) {
  if (OpenPort(com_) != 0)
    throw Failure(kCommunicationFailure,
                  Name() + ": cannot open: " + ProblemSentence(LastOpenError()));
}

Session::~Session() { ClosePort(com_); }

// A device gone (an adapter unplugged) fails the line's reads outright,
// where electronics that stopped answering only let them time out: the
// one is told instead of what went unanswered.
void Session::Lost(const std::string& what) const {
  const bool gone = SendSync(com_) == kReadFailed;
  throw Failure(kCommunicationFailure,
                Name() + ": " + (gone ? "the line is lost: the device has gone" : what));
}

Identity Session::Identify() {
  const char* const noAnswer = "no Veritrak II electronics answer";
  if (ConfigPort(com_, kTimeoutMs, kBaud) != 0) Lost("cannot set the line up");
  EndAsync(com_, kStopRunValues);
  std::this_thread::sleep_for(kStopSettle);
  ClearRxBuffer(com_);
  Identity identity;
  if (!Resync() || (identity.firmware = ReadMSPVersion(com_)) < 0) Lost(noAnswer);
  if (((identity.firmware >> 8) & 0xF) != kFirmwareFamily)
    Lost("the firmware is not of the Veritrak II family");
  uint16_t model = 0;
  if (!Resync() || ReadRegisterWren(com_, Word(reg::kModel, 0), &model) != 0) Lost(noAnswer);
  identity.modelCode = ModelCode(model);
  const auto name = ModelName(identity.modelCode);
  if (!name) Lost("unknown model code " + std::to_string(identity.modelCode));
  identity.model = *name;
  ReadSetup(identity);
  return identity;
}

void Session::ReadSetup(Identity& identity) {
  ClearRxBuffer(com_);
  if (!Resync() ||
      ReadRegisterWren(com_, Word(reg::kInterpolation, 0), &identity.interpolation) != 0 ||
      !Resync() || ReadRegisterWren(com_, Word(reg::kStatusSetup, 0), &identity.statusSetup) != 0)
    Lost("the set-up registers could not be read");
}

int32_t Session::ReadInformation(int32_t (*read)(int32_t port)) {
  int32_t value = -1;
  if (!Resync() || (value = read(com_)) < 0) Lost("an information read went unanswered");
  return value;
}

bool Session::Resync() {
  ClearRxBuffer(com_);
  return DoSynchronize(com_) == 1;
}

bool Session::SyncLine() {
  int32_t timeout = 0, baud = 0;
  if (GetPortConfig(com_, &timeout, &baud) != 0) return false;
  ConfigPort(com_, kSyncTimeoutMs, baud);
  bool inStep = false;
  for (int attempt = 0; attempt < kSyncAttempts && !inStep; ++attempt) {
    ClearRxBuffer(com_);
    inStep = SendSync(com_) == 0;
  }
  ConfigPort(com_, timeout, baud);
  return inStep;
}

bool Session::TryRead(uint8_t reg, uint16_t& value) {
  ClearRxBuffer(com_);
  return SyncLine() && ReadRegisterWren(com_, Word(reg, 0), &value) == 0;
}

uint16_t Session::Read(uint8_t reg) {
  uint16_t value = 0;
  if (!TryRead(reg, value)) Lost("register " + Hex(reg, 2) + " could not be read");
  return value;
}

// The library answers -1 both for a refusal and for no answer at all; a
// line that is back in step at once tells the electronics heard and said no.
void Session::Write(uint32_t word) {
  ClearRxBuffer(com_);
  if (!Resync()) Lost("the electronics do not answer");
  const int32_t result = WriteRegisterWren(com_, word);
  if (result == 0) return;
  if (result == -1 && Resync())
    throw Failure(kRefused, Name() + ": the electronics refused the write of " + Hex(word, 6));
  Lost("the write of " + Hex(word, 6) + " went unanswered");
}

}  // namespace probelink_cli
