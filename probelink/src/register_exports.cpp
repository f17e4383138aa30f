#include "frames.h"
#include "probelink.h"
#include "probelink_registers.h"
#include "registers.h"
#include "select_port.h"

using namespace probelink;

namespace {

namespace code {
constexpr uint8_t kMspVersion = 0x60;
constexpr uint8_t kPowerOnTime = 0x62;
constexpr uint8_t kPowerOnCycles = 0x63;
constexpr uint8_t kSoftwareReset = 0x64;
constexpr uint8_t kMspVersionAlt = 0x80;
constexpr uint8_t kMspChecksumAlt = 0x81;
constexpr uint8_t kPowerOnTimeAlt = 0x82;
constexpr uint8_t kPowerOnCyclesAlt = 0x83;
constexpr uint8_t kSoftwareResetAlt = 0x84;
constexpr uint8_t kEpotWrite = 0x90;
constexpr uint8_t kEpotRead = 0x91;
constexpr uint8_t kEpotFlash = 0x92;
}  // namespace code

int32_t ReadBaseAt(int32_t port, uint16_t address) {
  return WithLine(port, [=](Transport& line) { return ReadBase(line, address); });
}

int32_t WriteBaseWord(int32_t port, uint16_t word, bool swapAddress) {
  return WithLine(port, [=](Transport& line) { return WriteBase(line, word, swapAddress); });
}

// A read request with address 0 and the given count, for the information
// commands: the 16-bit value for count 2, else the 32-bit value.
int32_t ReadByCode(int32_t port, uint8_t code, uint16_t count) {
  return WithLine(port, [=](Transport& line) {
    return FinishRead(line, SendReadRequest(line, code, 0, count), count);
  });
}

int32_t SendReset(int32_t port, uint8_t code) {
  return WithLine(port, [=](Transport& line) { return SendBareRequest(line, code) ? 0 : -1; });
}

// The base-family position: top 8, middle 12 and low 12 bits from three
// registers, re-synchronising between the reads.
int32_t ReadBasePosition(Transport& line, int32_t& position) {
  static constexpr uint16_t kSteps[] = {0x0800, 0x0700, 0x4600};
  uint32_t p = 0;
  for (size_t i = 0; i < std::size(kSteps); ++i) {
    if (i > 0 && !DoSynchronize(line)) return -1;
    const int32_t value = ReadBase(line, kSteps[i]);
    if (value < 0) return value;
    p = i == 0 ? (value & 0xFF) : (static_cast<uint32_t>(value) | p << 12);
  }
  position = static_cast<int32_t>(p);
  return 0;
}

int32_t SignExtend(uint32_t value, int bits) {
  const int shift = 32 - bits;
  return static_cast<int32_t>(value << shift) >> shift;
}

// Any fault, a request not written included, is -1: the caller of the
// window's position read knows no other failure.
int32_t ReadWrenPosition(Transport& line, int32_t& position) {
  using namespace reg;
  static constexpr uint32_t kWords[] = {Word(kPositionHigh, 0), Word(kPositionMiddle, 0),
                                        Word(Mirror(kPositionLow), 0)};
  uint16_t parts[3] = {};
  for (size_t i = 0; i < std::size(kWords); ++i) {
    if (i > 0 && !DoSynchronize(line)) return -1;
    if (ReadLong(line, command::kRead, kWords[i], parts[i]) < 0) return -1;
  }
  const auto [hi, mid, lo] = parts;
  position = JoinPosition(hi, mid, lo);
  return 0;
}

}  // namespace

extern "C" {

int32_t PROBELINK_CALL ReadStatus(int32_t port) { return ReadBaseAt(port, 0x4000); }
int32_t PROBELINK_CALL ReadVersion(int32_t port) { return ReadBaseAt(port, 0x4100); }
int32_t PROBELINK_CALL ReadyAD(int32_t port) { return ReadBaseAt(port, 0x4200); }
int32_t PROBELINK_CALL ReadxAD(int32_t port) { return ReadBaseAt(port, 0x4300); }
int32_t PROBELINK_CALL ReadVectorMag(int32_t port) { return ReadBaseAt(port, 0x4400); }
int32_t PROBELINK_CALL ReadAngle(int32_t port) { return ReadBaseAt(port, 0x4500); }
int32_t PROBELINK_CALL ReadPositiveIndexWindow(int32_t port) { return ReadBaseAt(port, 0x4900); }
int32_t PROBELINK_CALL ReadNegativeIndexWindow(int32_t port) { return ReadBaseAt(port, 0x4C00); }
int32_t PROBELINK_CALL ReadStateFreqReg(int32_t port) { return ReadBaseAt(port, 0x4F00); }
int32_t PROBELINK_CALL ReadInterpDepth(int32_t port) { return ReadBaseAt(port, 0x5000); }
int32_t PROBELINK_CALL ReadIndexAngle(int32_t port) { return ReadBaseAt(port, 0x5100); }
int32_t PROBELINK_CALL ReadGainX(int32_t port) { return ReadBaseAt(port, 0x5200); }
int32_t PROBELINK_CALL ReadOffsetX(int32_t port) { return ReadBaseAt(port, 0x5300); }
int32_t PROBELINK_CALL ReadGainY(int32_t port) { return ReadBaseAt(port, 0x5400); }
int32_t PROBELINK_CALL ReadOffsetY(int32_t port) { return ReadBaseAt(port, 0x5500); }
int32_t PROBELINK_CALL ReadPhase(int32_t port) { return ReadBaseAt(port, 0x5600); }

int32_t PROBELINK_CALL ReadRegister(int32_t port, uint16_t address, uint16_t* value) {
  if (!value) return -1;
  const int32_t result = ReadBaseAt(port, address);
  if (result < 0) return result;
  *value = static_cast<uint16_t>(result);
  return 0;
}

int32_t PROBELINK_CALL WriteRegister(int32_t port, uint16_t word) { return WriteBaseWord(port, word, true); }
int32_t PROBELINK_CALL WriteInterpReg(int32_t port, uint16_t value) {
  return WriteBaseWord(port, value | 0xF000, false);
}
int32_t PROBELINK_CALL WriteIndexAngleReg(int32_t port, uint16_t value) {
  return WriteBaseWord(port, value | 0xE000, false);
}
int32_t PROBELINK_CALL WriteGenReg(int32_t port, uint8_t value) {
  return WriteBaseWord(port, 0xC000 + value, true);
}
int32_t PROBELINK_CALL WriteStateFreqReg(int32_t port, uint8_t value) {
  return WriteBaseWord(port, 0xC100 + value, true);
}

int32_t PROBELINK_CALL ReadPosition(int32_t port, int32_t* position) {
  if (!position) return -1;
  return WithLine(port, [=](Transport& line) { return ReadBasePosition(line, *position); });
}

int32_t PROBELINK_CALL ReadShiftedPosition(int32_t port, int32_t* position) {
  if (!position) return -1;
  return WithLine(port, [=](Transport& line) {
    int32_t p = 0;
    const int32_t result = ReadBasePosition(line, p);
    if (result == 0) *position = SignExtend(static_cast<uint32_t>(p), 28);
    return result;
  });
}

int32_t PROBELINK_CALL ReadMSPVersion(int32_t port) { return ReadByCode(port, code::kMspVersion, 2); }
int32_t PROBELINK_CALL ReadPowerOnTime(int32_t port) { return ReadByCode(port, code::kPowerOnTime, 4); }
int32_t PROBELINK_CALL ReadPowerOnCycles(int32_t port) { return ReadByCode(port, code::kPowerOnCycles, 4); }
int32_t PROBELINK_CALL SoftwareSystemReset(int32_t port) { return SendReset(port, code::kSoftwareReset); }
int32_t PROBELINK_CALL ReadMSPVersion_M(int32_t port) { return ReadByCode(port, code::kMspVersionAlt, 2); }
int32_t PROBELINK_CALL ReadMSPChecksum_M(int32_t port) { return ReadByCode(port, code::kMspChecksumAlt, 2); }
int32_t PROBELINK_CALL ReadPowerOnTime_M(int32_t port) { return ReadByCode(port, code::kPowerOnTimeAlt, 4); }
int32_t PROBELINK_CALL ReadPowerOnCycles_M(int32_t port) { return ReadByCode(port, code::kPowerOnCyclesAlt, 4); }
int32_t PROBELINK_CALL SoftwareReset_M(int32_t port) { return SendReset(port, code::kSoftwareResetAlt); }

int32_t PROBELINK_CALL WriteEpotValues(int32_t port, uint16_t value) {
  return WithLine(port, [=](Transport& line) {
    const uint8_t data[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    return FinishWrite(line, SendBlockRequest(line, code::kEpotWrite, 0, data));
  });
}

int32_t PROBELINK_CALL ReadEpotValues(int32_t port, uint8_t* a, uint8_t* b, uint8_t* c, uint8_t* d) {
  if (!a || !b || !c || !d) return -1;
  return WithLine(port, [=](Transport& line) {
    if (!SendReadRequest(line, code::kEpotRead, 0, 4)) return -2;
    uint8_t data[4];
    if (!ReadDataReply(line, 4, data)) return -1;
    // Two little-endian words, each handed out high byte first.
    *a = data[1];
    *b = data[0];
    *c = data[3];
    *d = data[2];
    return 0;
  });
}

int32_t PROBELINK_CALL FlashEpot(int32_t port) {
  return WithLine(port, [](Transport& line) {
    return FinishWrite(line, SendBlockRequest(line, code::kEpotFlash, 0, {}));
  });
}

int32_t PROBELINK_CALL ReadRegisterWren(int32_t port, uint32_t word, uint16_t* value) {
  if (!value) return -1;
  return WithLine(port,
                  [=](Transport& line) { return ReadLong(line, command::kRead, word, *value); });
}

int32_t PROBELINK_CALL WriteRegisterWren(int32_t port, uint32_t word) {
  return WithLine(port, [=](Transport& line) { return WriteLong(line, command::kWrite, word); });
}

int32_t PROBELINK_CALL ReadShiftedPositionWren(int32_t port, int32_t* position) {
  if (!position) return -1;
  return WithLine(port, [=](Transport& line) { return ReadWrenPosition(line, *position); });
}

int32_t PROBELINK_CALL ReadRegisterFinch(int32_t port, uint32_t word, uint16_t* value) {
  if (!value) return -1;
  return WithLine(port, [=](Transport& line) {
    return ReadLong(line, command::kFinchRead, word, *value);
  });
}

int32_t PROBELINK_CALL WriteRegisterFinch(int32_t port, uint32_t word) {
  return WithLine(port,
                  [=](Transport& line) { return WriteLong(line, command::kFinchWrite, word); });
}

int32_t PROBELINK_CALL ReadValueFinch(int32_t port, uint8_t command, uint16_t count) {
  // Counts that do not cover the value they decode are refused.
  if (count < 2 || count == 3 || count > kMaxReplyData) return -1;
  return ReadByCode(port, command, count);
}

}  // extern "C"
