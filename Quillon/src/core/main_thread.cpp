#include "main_thread.h"

#include <cmath>

#include "probelink.h"
#include "probelink_registers.h"
#include "signal_words.h"

namespace quillon {
namespace {
namespace reg = probelink::reg;
constexpr int kLevelSamples = 4;
}  // namespace

MainThread::MainThread(ComData& com, bool replay)
    : AcquisitionThread(com, StatusView, replay),
      index_(replay ? com.ReviewCount[StatusView].load() : com.WriteIndex[StatusView].load()),
      slot_(WrapSlot(replay ? com.ReviewIndex[StatusView].load() : index_, kStatusRingSize)),
      time_(replay ? com.ReviewTime[StatusView] : com.ElapsedTime[StatusView]) {}

void MainThread::RunStep() {
  if (replay_)
    ReplayStep();
  else
    LiveStep();
}

bool MainThread::ReadSample() {
  StatusRing& ring = com_.Status();
  const auto readRegister = [&](uint8_t reg, int32_t& into) {
    uint16_t value = 0;
    if (!Exchange([&] { return ReadRegisterWren(port_, uint32_t{reg} << 16, &value); }))
      return false;
    into = value;
    return true;
  };
  int32_t model = 0;
  if (!readRegister(reg::kStatus, ring.status[slot_]) || !readRegister(reg::kSine, ring.x[slot_]) ||
      !readRegister(reg::kCosine, ring.y[slot_]) || !readRegister(reg::kModel, model))
    return false;
  int32_t p = 0;
  if (!Exchange([&] { return ReadShiftedPositionWren(port_, &p); })) return false;
  if ((model & 0xE0) == 0x60) p /= 4;
  if (com_.ZeroRequest.exchange(false)) com_.ZeroOffset = p;
  ring.position[slot_] = p - com_.ZeroOffset;
  return true;
}

// A line back in step, and the read after it, each count as an exchange
// that went through.
bool MainThread::Exchange(const std::function<int32_t()>& read) {
  ClearRxBuffer(port_);
  if (!SyncLine()) return false;
  ExchangeWentThrough();
  if (read() < 0) return false;
  ExchangeWentThrough();
  return true;
}

void MainThread::LiveStep() {
  if (!ReadSample()) {
    StepFailed();
    return;
  }
  const float interval = static_cast<float>(SecondsSince(ticks_));
  com_.Status().interval[slot_] = interval;
  ++index_;
  com_.ElapsedTime[StatusView] = com_.ElapsedTime[StatusView] + interval;
  OnGui([this] { ShowSample(); });
  if (index_ >= kStatusRingSize) {
    index_ = 0;
    com_.BufferWrapped[StatusView] = true;
  }
  slot_ = index_;
  com_.WriteIndex[StatusView] = index_;
}

void MainThread::ReplayStep() {
  if (index_ <= 0) {
    com_.ReviewCount[StatusView] = 0;
    com_.StopRequest = true;
    return;
  }
  const float interval = com_.Status().interval[slot_];
  ReplayWait(interval);
  OnGui([this] { ShowSample(); });
  if (--index_ <= 0) {
    com_.ReviewCount[StatusView] = 0;
    com_.StopRequest = true;
    return;
  }
  time_ = time_ + interval;
  slot_ = WrapSlot(slot_ + 1, kStatusRingSize);
  com_.ReviewIndex[StatusView] = slot_;
}

// The level handed on every fourth sample is the mean of four amplitudes,
// divided by four.
void MainThread::ShowSample() {
  const StatusRing& ring = com_.Status();
  ++levelCount_;
  const int x = SignedSignal(static_cast<uint16_t>(ring.x[slot_]));
  const int y = SignedSignal(static_cast<uint16_t>(ring.y[slot_]));
  levelSum_ += static_cast<float>(std::sqrt(double(x) * x + double(y) * y) * 0.25);
  levelReady_ = levelCount_ >= kLevelSamples;
  if (levelReady_) {
    levelCount_ = 0;
    levelSum_ *= 0.25f;
  }
  window_.UpdateStatusDisplay(ring.position[slot_], levelSum_, ring.status[slot_], time_, replay_,
                              levelReady_);
  if (levelCount_ == 0) levelSum_ = 0;
}

void MainThread::Complete() {
  if (replay_) {
    com_.ReviewCount[StatusView] = index_;
    if (!window_.CommandBusy()) window_.StopAction();
  } else {
    com_.ReviewIndex[StatusView] = index_ - 1;
    com_.WriteIndex[StatusView] = index_;
  }
}

}  // namespace quillon
