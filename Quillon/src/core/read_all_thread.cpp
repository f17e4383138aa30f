#include "read_all_thread.h"

#include "probelink.h"
#include "probelink_registers.h"
#include "signal_words.h"

namespace quillon {
namespace {

// Indices of the three position registers within kRegisters.
constexpr size_t kHighPosition = 20, kMidPosition = 21, kLowPosition = 22;

QString Hex(uint32_t value, int digits) {
  return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

const std::array<uint8_t, 26> ReadAllThread::kRegisters = {
    0x00, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x50, 0x51, 0x52,
    0x53, 0x54, 0x20, 0x21, 0x64, 0x65, 0x66, 0x69, 0x68, 0x67, 0x6A, 0x2B, 0x2C};

ReadAllThread::ReadAllThread(ComData& com) : AcquisitionThread(com, -1, false) {}

void ReadAllThread::RunStep() {
  QStringList texts;
  if (!ReadPass(texts)) {
    StepFailed();
    return;
  }
  texts_ = std::move(texts);
  OnGui([this] { window_.ShowRegisterPass(texts_); });
}

// An entry goes through when both the sync before it and its read do.
bool ReadAllThread::Entry(const std::function<int32_t()>& read) {
  ClearRxBuffer(port_);
  if (!SyncLine() || read() < 0) return false;
  ExchangeWentThrough();
  return true;
}

bool ReadAllThread::ReadPass(QStringList& texts) {
  uint16_t values[kRegisters.size()] = {};
  for (size_t i = 0; i < kRegisters.size(); ++i) {
    if (!Entry(
            [&] { return ReadRegisterWren(port_, probelink::Word(kRegisters[i], 0), &values[i]); }))
      return false;
    texts << Hex(values[i], 4);
  }
  // A counter with its top bit set is an error code, not a count.
  for (const auto read : {ReadMSPVersion, ReadPowerOnTime, ReadPowerOnCycles}) {
    int32_t value = 0;
    if (!Entry([&] { return value = read(port_); })) return false;
    texts << Hex(static_cast<uint32_t>(value), 8);
  }
  // Neither divided nor zeroed.
  const int32_t position =
      JoinPosition(values[kHighPosition], values[kMidPosition], values[kLowPosition]);
  texts << Hex(static_cast<uint32_t>(position), 8);
  return true;
}

}  // namespace quillon
