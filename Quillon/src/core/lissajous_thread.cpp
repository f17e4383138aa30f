#include "lissajous_thread.h"

#include <algorithm>

#include "probelink.h"
#include "probelink_registers.h"
#include "signal_words.h"

namespace quillon {
namespace {
const auto& kStreamRegisters = probelink::reg::kLissajous;
constexpr int32_t kValues = 4;
constexpr int kMaxReadFailures = 2;
constexpr int kBatchSize = 5;

// A live restart continues the trail behind the write slot; once the ring
// has wrapped, the trail reaches back across its end.
int32_t FirstOfTrail(int32_t writeSlot, int32_t trailLength, bool wrapped) {
  if (wrapped) return WrapSlot(writeSlot - trailLength, kPlotRingSize);
  return std::max(writeSlot - trailLength, 0);
}

bool OutOfFrame(const uint16_t (&words)[kValues]) {
  for (uint16_t w : words)
    if (w & 0xF) return true;
  return false;
}
}  // namespace

LissajousThread::LissajousThread(ComData& com, bool replay)
    : AcquisitionThread(com, SignalView, replay),
      trailLength_(com.LissajousPoints),
      index_(replay ? 0 : com.WriteIndex[SignalView].load()),
      slot_(replay ? WrapSlot(com.ReviewIndex[SignalView], kPlotRingSize) : index_),
      trailIndex_(replay ? slot_
                         : FirstOfTrail(index_, trailLength_, com.BufferWrapped[SignalView])) {
  window_.ClearLissajous();
}

bool LissajousThread::StartStream() {
  const bool started = SyncLine() && BeginAsyncWren(port_, kValues, kStreamRegisters) >= 0;
  ticks_ = Clock::now();
  return started;
}

void LissajousThread::RunStep() {
  if (replay_)
    ReplayStep();
  else
    LiveStep();
}

SignalSample LissajousThread::SampleAt(int32_t slot) const {
  const SignalRing& ring = com_.Signal();
  return {ring.x[slot], ring.y[slot], ring.magnitude[slot], ring.angle[slot]};
}

void LissajousThread::LiveStep() {
  uint16_t words[kValues] = {};
  if (ReadAsyncWren(port_, kValues, words) < 0) {
    if (++errorCount_ > kMaxReadFailures) Fail();
    return;
  }
  errorCount_ = 0;
  SignalRing& ring = com_.Signal();
  ring.x[slot_] = words[0];
  ring.y[slot_] = words[1];
  ring.angle[slot_] = words[2];
  ring.magnitude[slot_] = words[3];
  // A record read out of step shows bits in the low nibbles, which the
  // electronics always leave clear.
  if (OutOfFrame(words)) {
    BusyWaitMs(1);
    ClearRxBuffer(port_);
    return;
  }
  fresh_[batchCount_] = SampleAt(slot_);
  if (index_ >= trailLength_ || com_.BufferWrapped[SignalView]) {
    erase_ = true;
    old_[batchCount_] = SampleAt(trailIndex_);
    trailIndex_ = WrapSlot(trailIndex_ + 1, kPlotRingSize);
  }
  const float interval = static_cast<float>(SecondsSince(ticks_));
  ring.interval[slot_] = interval;
  com_.ElapsedTime[SignalView] = com_.ElapsedTime[SignalView] + interval;
  if (++index_ >= kPlotRingSize) {
    index_ = 0;
    com_.BufferWrapped[SignalView] = true;
  }
  slot_ = index_;
  com_.WriteIndex[SignalView] = index_;
  if (++batchCount_ >= kBatchSize) {
    batchCount_ = 0;
    const float time = com_.ElapsedTime[SignalView];
    Draw([this, erase = erase_, fresh = fresh_, old = old_, time] {
      window_.DrawLissajousBatch(erase, fresh, old, time);
    });
  }
}

void LissajousThread::ReplayStep() {
  if (index_ >= com_.ReviewCount[SignalView]) {
    com_.StopRequest = true;
    return;
  }
  if (index_ >= trailLength_) {
    erase_ = true;
    const SignalSample old = SampleAt(trailIndex_);
    OnGui([&] { window_.DrawLissajousPoint(true, old, com_.ReviewTime[SignalView]); });
    trailIndex_ = WrapSlot(trailIndex_ + 1, kPlotRingSize);
  }
  const float interval = com_.Signal().interval[slot_];
  ReplayWait(interval / 2.0);
  com_.ReviewTime[SignalView] = com_.ReviewTime[SignalView] + interval;
  const SignalSample sample = SampleAt(slot_);
  OnGui([&] { window_.DrawLissajousPoint(false, sample, com_.ReviewTime[SignalView]); });
  ++index_;
  slot_ = WrapSlot(slot_ + 1, kPlotRingSize);
  com_.ReviewIndex[SignalView] = slot_;
}

void LissajousThread::Complete() {
  if (replay_) {
    com_.ReviewCount[SignalView] -= index_;
    if (!window_.CommandBusy()) window_.StopAction();
    return;
  }
  com_.ReviewIndex[SignalView] = index_ - 1;
  com_.WriteIndex[SignalView] = index_;
  if (!failed_) EndStream(kValues);
}

}  // namespace quillon
