#include <span>

#include "frames.h"
#include "probelink.h"
#include "select_port.h"
#include "streams.h"

using namespace probelink;

namespace {

constexpr uint8_t kWrenStream = 0x65;
constexpr uint8_t kFinchStream = 0xA8;
constexpr int32_t kLissValues = 4;
constexpr uint32_t kResetPulseMs = 300;

bool ValidList(int32_t n, const void* list) {
  return n >= 1 && n <= kMaxStreamRegisters && list != nullptr;
}

int32_t Begin(int32_t port, uint8_t code, int32_t n, const uint8_t* registers) {
  if (!ValidList(n, registers)) return -1;
  return WithLine(port, [=](Transport& line) {
    return BeginStream(line, code, {registers, static_cast<size_t>(n)});
  });
}

int32_t ReadOne(int32_t port, int32_t n, uint16_t* values) {
  if (!ValidList(n, values)) return -1;
  return WithLine(port, [=](Transport& line) {
    return ReadRecord(line, {values, static_cast<size_t>(n)});
  });
}

// Writes the line setting with the DTR control changed; only a setting that
// really moved the line counts.
bool SetDtr(Transport& line, DCB& dcb, uint32_t control) {
  dcb.fDtrControl = control;
  return line.SetLineSetting(dcb) == LineApply::Applied;
}

}  // namespace

extern "C" {

int32_t PROBELINK_CALL BeginAsyncWren(int32_t port, int32_t n, const uint8_t* registers) {
  return Begin(port, kWrenStream, n, registers);
}

int32_t PROBELINK_CALL BeginAsyncFinch(int32_t port, int32_t n, const uint8_t* registers) {
  return Begin(port, kFinchStream, n, registers);
}

int32_t PROBELINK_CALL ReadAsyncWren(int32_t port, int32_t n, uint16_t* values) { return ReadOne(port, n, values); }

int32_t PROBELINK_CALL ReadAsyncFinch(int32_t port, int32_t n, uint16_t* values) {
  return ReadOne(port, n, values);
}

int32_t PROBELINK_CALL EndAsync(int32_t port, int32_t n) {
  if (n < 0) return -1;
  return WithLine(port, [=](Transport& line) { return WriteStopRun(line, n); });
}

int32_t PROBELINK_CALL BeginLissMode(int32_t port) {
  return WithLine(port, [](Transport& line) {
    return FinishWrite(line, SendBareRequest(line, kWrenStream));
  });
}

int32_t PROBELINK_CALL ReadLissPoint(int32_t port, uint16_t* a, uint16_t* b, uint16_t* c, uint16_t* d) {
  if (!a || !b || !c || !d) return -1;
  return WithLine(port, [=](Transport& line) {
    uint16_t w[kLissValues];
    if (ReadRecord(line, w) != 0) return -1;
    *b = w[0];
    *a = w[1];
    *c = w[2];
    *d = w[3];
    return 0;
  });
}

int32_t PROBELINK_CALL EndLissMode(int32_t port) {
  return WithLine(port, [](Transport& line) {
    return WriteStopRun(line, kLissValues) == 2 * kLissValues + 5 ? 0 : -1;
  });
}

int32_t PROBELINK_CALL ReadRs232Data(int32_t port, int32_t n, uint8_t* buffer, int32_t* received) {
  if (n < 0 || (n > 0 && !buffer)) return -1;
  return WithLine(port, [=](Transport& line) {
    const IoResult r = line.Read(buffer, static_cast<size_t>(n));
    if (received) *received = static_cast<int32_t>(r.count);
    return r.ok && r.count >= static_cast<size_t>(n) ? 1 : -1;
  });
}

int32_t PROBELINK_CALL WriteRs232Data(int32_t port, int32_t n, const uint8_t* buffer) {
  if (n < 0 || (n > 0 && !buffer)) return -1;
  return WithLine(port, [=](Transport& line) {
    const IoResult r = line.Write(buffer, static_cast<size_t>(n));
    return r.ok ? static_cast<int32_t>(r.count) : -1;
  });
}

int32_t PROBELINK_CALL SystemReset(int32_t port) {
  return WithLine(port, [](Transport& line) {
    DCB dcb{};
    if (!line.GetLineSetting(dcb)) return -1;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    if (!SetDtr(line, dcb, DTR_CONTROL_DISABLE)) return -1;
    DelayMs(kResetPulseMs);
    if (!SetDtr(line, dcb, DTR_CONTROL_ENABLE)) return -2;
    if (!SetDtr(line, dcb, DTR_CONTROL_DISABLE)) return -3;
    return 0;
  });
}

}  // extern "C"
