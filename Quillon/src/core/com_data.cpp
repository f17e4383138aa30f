#include "com_data.h"

#include <QCoreApplication>
#include <array>
#include <thread>

#include "acquisition_thread.h"
#include "probelink.h"
#include "probelink_registers.h"

namespace quillon {
namespace {

constexpr int32_t kIdentifyTimeoutMs = 100;
constexpr int32_t kBaud = 38400;
constexpr int32_t kStopRunValues = 10;
constexpr int32_t kStopSettleMs = 20;
constexpr int32_t kResetSettleMs = 2000;
constexpr int kMspFamily = 5;

namespace reg = probelink::reg;
namespace command = probelink::command_word;
using probelink::Word;

const char* ModelText(int code) {
  switch (code) {
    case 0:
    case 1: return "Kestrel Electronics Found on COM";
    case 2: return "Heron Electronics Found on COM";
    case 3: return "Osprey Electronics Found on COM";
    case 4: return "Plover Electronics Found on COM";
    default: return nullptr;
  }
}

}  // namespace

ComData::ComData(int32_t port, WindowLink& window)
    : Port_(port),
      window_(window),
      statusRing_(std::make_unique<StatusRing>()),
      signalRing_(std::make_unique<SignalRing>()),
      strengthRing_(std::make_unique<StrengthRing>()),
      positionRing_(std::make_unique<PositionRing>()) {}

ComData::~ComData() {
  for (QPointer<AcquisitionThread>* slot :
       {&mainThread_, &lissajousThread_, &strengthThread_, &positionThread_, &readAllThread_}) {
    AcquisitionThread* thread = *slot;
    if (!thread) continue;
    thread->Detach();
    // The worker may be waiting for a synchronised call into the window; keep
    // the window's events flowing until it has left its step. Every step is
    // bounded by the line's time-outs.
    while (!thread->wait(5)) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
}

// ---- connection ----------------------------------------------------------

// An open port is only configured again. A handle whose device has gone (an
// adapter unplugged) refuses even that, whatever comes back under the port's
// name, so the port is opened afresh.
bool ComData::OpenConfigured() {
  if (PortOpen && ConfigPort(Port_, kIdentifyTimeoutMs, kBaud) == 0) return true;
  if (PortOpen) Disconnect();
  if (OpenPort(Port_) < 0) {
    openError_ = LastOpenError();
    return false;
  }
  openError_ = 0;
  PortOpen = true;
  return ConfigPort(Port_, kIdentifyTimeoutMs, kBaud) == 0;
}

bool ComData::Identify(QString& message, int32_t& result) {
  if (!OpenConfigured()) return false;
  StopStreaming();
  if (!Resync()) return false;
  const int32_t version = ReadMSPVersion(Port_);
  if (version < 0 || ((version >> 8) & 0xF) != kMspFamily) return false;
  uint16_t model = 0;
  if (!Resync() || !ReadRegister(reg::kModel, model)) return false;
  const char* text = ModelText((model >> 5) & 0xF);
  if (!text) return false;
  IdentResult = 0;
  message = QString::fromLatin1(text) + QString::number(Port_);
  result = IdentResult;
  if (!ReadSetup()) return false;
  Baud_ = kBaud;
  return true;
}

// The library's synchronisation loop (50 ms per attempt) after a purge.
bool ComData::Resync() {
  ClearRxBuffer(Port_);
  return DoSynchronize(Port_) == 1;
}

bool ComData::StopStreaming() {
  EndAsync(Port_, kStopRunValues);
  WaitMs(kStopSettleMs);
  ClearRxBuffer(Port_);
  return true;
}

bool ComData::ReadSetup() {
  ClearRxBuffer(Port_);
  if (!Resync()) return false;
  // A failed read still leaves its stale scratch value behind.
  const bool interpOk = ReadRegister(reg::kInterpolation, RegScratch);
  InterpCode_ = RegScratch >> 4;
  if (!interpOk || !Resync()) return false;
  const bool setupOk = ReadRegister(reg::kStatusSetup, RegScratch);
  StatusSetup_ = RegScratch;
  if (!setupOk) return false;
  window_.ShowInterpolationAndFrequency(InterpCode_, StatusSetup_);
  return true;
}

bool ComData::ReadInfo(DeviceInfo& info) {
  ClearRxBuffer(Port_);
  // Each value is stored as read, so those before a failure keep theirs.
  const auto step = [this](auto read) { return Resync() && read(); };
  return step([&] { return (info.mspVersion = ReadMSPVersion(Port_)) >= 0; }) &&
         step([&] { return ReadRegister(reg::kModel, info.modelRegister); }) &&
         step([&] { return (info.powerOnHours = ReadPowerOnTime(Port_)) >= 0; }) &&
         step([&] { return (info.powerOnCycles = ReadPowerOnCycles(Port_)) >= 0; });
}

bool ComData::ClearAndResyncThenWrite(uint32_t word) {
  ClearRxBuffer(Port_);
  return Resync() && WriteRegisterWren(Port_, word) == 0;
}

bool ComData::SetInterpolation(int32_t code) {
  return ClearAndResyncThenWrite(
      Word(reg::WriteAddress(reg::kInterpolation), static_cast<uint16_t>(code * 16)));
}

bool ComData::SetFrequency(int32_t setting) {
  return ClearAndResyncThenWrite(
      Word(reg::WriteAddress(reg::kStatusSetup), static_cast<uint16_t>(setting)));
}

bool ComData::CenterIndex() {
  return ClearAndResyncThenWrite(Word(reg::kCommand, command::kCentreIndex));
}

bool ComData::ZeroPosition() {
  return Resync() && WriteRegister(reg::kCommand, command::kZeroArm) && Resync() &&
         WriteRegister(reg::kCommand, command::kZeroCounter);
}

bool ComData::WriteRawRegister(uint32_t word) { return ClearAndResyncThenWrite(word); }

void ComData::SoftwareReset() {
  if (!Resync()) return;
  SoftwareSystemReset(Port_);
  WaitMs(kResetSettleMs);
}

void ComData::CaptureZeroOffset() {
  AxisChanged[PositionPlot] = true;
  ZeroRequest = true;
  int32_t position = 0;
  if (Resync() && ReadShiftedPositionWren(Port_, &position) == 0) {
    ZeroOffset = position;
    ZeroRequest = false;
  }
}

int32_t ComData::Disconnect() {
  PortOpen = false;
  return ClosePort(Port_);
}

bool ComData::ReadRegister(uint8_t reg, uint16_t& value) {
  return ReadRegisterWren(Port_, Word(reg, 0), &value) == 0;
}

bool ComData::WriteRegister(uint8_t reg, uint16_t value) {
  return WriteRegisterWren(Port_, Word(reg, value)) == 0;
}

void ComData::SetPlotSizes(int32_t lissajousPoints, int32_t strengthPoints,
                           float positionSeconds) {
  LissajousPoints = lissajousPoints;
  SignalStrengthPoints = strengthPoints;
  PositionPlotSeconds = positionSeconds;
}

void ComData::RequestRescale() {
  RescaleRequest[StrengthPlot] = true;
  RescaleRequest[PositionPlot] = true;
}

void ComData::ResetRing(int view) {
  WriteIndex[view] = 0;
  ElapsedTime[view] = 0;
  ReviewCount[view] = 0;
  BufferWrapped[view] = false;
  ClearPending[view] = false;
}

void ComData::WaitMs(int32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool ComData::ThreadAlive() const {
  return mainThread_ || lissajousThread_ || strengthThread_ || positionThread_ || readAllThread_;
}

}  // namespace quillon
