#include "signal_strength_thread.h"

#include <algorithm>
#include <utility>

#include "autoscale.h"
#include "probelink.h"
#include "probelink_registers.h"
#include "signal_words.h"

namespace quillon {
namespace {
using namespace probelink::reg;
const uint8_t kStreamRegisters[] = {kSine,           kCosine,      kPositionHigh,
                                    kPositionMiddle, kPositionLow, kGeneral};
constexpr int32_t kValues = 6;
// The stop run is sized for eight values, longer than a record of six.
constexpr int32_t kStopRunValues = 8;
constexpr int kMaxReadFailures = 2;
constexpr uint16_t kMaxHighPosition = 3;
constexpr uint16_t kMaxGeneralRegister = 55;
}  // namespace

SignalStrengthThread::SignalStrengthThread(ComData& com, bool replay)
    : AcquisitionThread(com, StrengthView, replay),
      sweepPoints_(std::clamp<int32_t>(com.SignalStrengthPoints, 1, kSweepCapacity)),
      modelCode_(com.Window().ModelCode()),
      index_(replay ? 0 : com.WriteIndex[StrengthView].load()),
      slot_(replay ? WrapSlot(com.ReviewIndex[StrengthView], kPlotRingSize) : index_) {
  window_.ClearTimePlot();
  com_.RescaleRequest[StrengthPlot] = true;
  if (!replay_) {
    window_.WriteStrengthLabels(com_.PositionAxisMin[StrengthPlot],
                                com_.PositionAxisMax[StrengthPlot]);
  } else if (com_.ManualScale[StrengthPlot]) {
    replayMax_ = com_.PositionAxisMax[StrengthPlot];
    replayMin_ = com_.PositionAxisMin[StrengthPlot];
    window_.WriteStrengthLabels(replayMin_, replayMax_);
  }
}

bool SignalStrengthThread::StartStream() {
  const bool started = SyncLine() && BeginAsyncWren(port_, kValues, kStreamRegisters) >= 0;
  ticks_ = Clock::now();
  return started;
}

void SignalStrengthThread::RunStep() {
  if (replay_)
    ReplayStep();
  else
    LiveStep();
}

void SignalStrengthThread::LiveStep() {
  uint16_t w[kValues] = {};
  if (ReadAsyncWren(port_, kValues, w) < 0) {
    ClearRxBuffer(port_);
    if (++errorCount_ > kMaxReadFailures) Fail();
    return;
  }
  // Position bits 28 and up and the general register are small on a record
  // read in step; anything else is a record read out of frame.
  if (w[2] > kMaxHighPosition || w[5] > kMaxGeneralRegister) {
    BusyWaitMs(1);
    ClearRxBuffer(port_);
    ticks_ = Clock::now();
    return;
  }
  errorCount_ = 0;
  StrengthRing& ring = com_.Strength();
  ring.x[slot_] = w[0];
  ring.y[slot_] = w[1];
  int32_t p = JoinPosition(w[2], w[3], w[4]);
  if (modelCode_ > 2) p /= 4;
  ring.position[slot_] = p - com_.ZeroOffset;

  if (++sweepCount_ > sweepPoints_) RestartSweep();
  int32_t max = com_.PositionAxisMax[StrengthPlot];
  int32_t min = com_.PositionAxisMin[StrengthPlot];
  Autoscale(ring.position[slot_], max, min);
  com_.PositionAxisMax[StrengthPlot] = max;
  com_.PositionAxisMin[StrengthPlot] = min;
  if (com_.AxisChanged[StrengthPlot].exchange(false)) DrawAxis(max, min);

  const float interval = static_cast<float>(SecondsSince(ticks_));
  ring.interval[slot_] = interval;
  ++index_;
  com_.ElapsedTime[StrengthView] = com_.ElapsedTime[StrengthView] + interval;
  DrawPoint(com_.ElapsedTime[StrengthView], max, min);
  if (index_ >= kPlotRingSize) {
    index_ = 0;
    com_.BufferWrapped[StrengthView] = true;
  }
  slot_ = index_;
  com_.WriteIndex[StrengthView] = index_;
}

void SignalStrengthThread::ReplayStep() {
  const auto start = Clock::now();
  if (index_ >= com_.ReviewCount[StrengthView]) {
    com_.StopRequest = true;
    return;
  }
  if (sweepCount_ > sweepPoints_) RestartSweep();
  const StrengthRing& ring = com_.Strength();
  Autoscale(ring.position[slot_], replayMax_, replayMin_);
  if (com_.AxisChanged[StrengthPlot].exchange(false)) DrawAxis(replayMax_, replayMin_);
  ++sweepCount_;
  ++index_;
  com_.ReviewTime[StrengthView] = com_.ReviewTime[StrengthView] + ring.interval[slot_];
  DrawPoint(com_.ReviewTime[StrengthView], replayMax_, replayMin_);
  slot_ = WrapSlot(slot_ + 1, kPlotRingSize);
  com_.ReviewIndex[StrengthView] = slot_;
  // The recorded interval (seconds) is taken as milliseconds here, so the
  // replay runs about as fast as it can draw.
  const float next = ring.interval[slot_];
  if (next > std::chrono::duration<float>(Clock::now() - start).count()) ReplayWait(0.25e-3 * next);
}

void SignalStrengthThread::Autoscale(int32_t position, int32_t& max, int32_t& min) {
  const bool manual = com_.ManualScale[StrengthPlot];
  if (com_.RescaleRequest[StrengthPlot].exchange(false)) {
    fullReplot_ = false;
    Draw([this] { window_.ClearTimePlot(); });
    com_.AxisChanged[StrengthPlot] = true;
    if (!manual) FitPosition(position, max, min);
  } else if (!manual && StretchPosition(position, max, min)) {
    fullReplot_ = true;
    com_.AxisChanged[StrengthPlot] = true;
  }
}

// The sweep's store belongs to the window's side, so its restart is drawn
// in turn with the points before it.
void SignalStrengthThread::RestartSweep() {
  com_.RescaleRequest[StrengthPlot] = true;
  sweepCount_ = 0;
  Draw([this] { sweepStored_ = 0; });
}

// A replot clears the receive queue, so it runs while the thread waits
// between records, never in the middle of one.
void SignalStrengthThread::DrawAxis(int32_t max, int32_t min) {
  const bool replot = std::exchange(fullReplot_, false);
  const auto call = [this, max, min, replot] { AxisCall(max, min, replot); };
  if (replot)
    OnGui(call);
  else
    Draw(call);
}

void SignalStrengthThread::DrawPoint(float time, int32_t max, int32_t min) {
  Draw([this, slot = slot_, time, max, min] { PointCall(slot, time, max, min); });
}

// GUI thread: new labels, and the sweep so far redrawn when the axis moved.
// The sample that moved it is not stored yet: its point call draws it next.
void SignalStrengthThread::AxisCall(int32_t max, int32_t min, bool replot) {
  window_.WriteStrengthLabels(min, max);
  if (!replot) return;
  window_.ClearTimePlot();
  window_.ReplotStrength(sweepPositions_.data(), sweepHeights_.data(), max, min, sweepStored_);
  // The replot may have taken long enough for the stream to overrun.
  if (!replay_) ClearRxBuffer(port_);
}

void SignalStrengthThread::PointCall(int32_t slot, float time, int32_t max, int32_t min) {
  const StrengthRing& ring = com_.Strength();
  const int32_t entry = std::min(sweepStored_, kSweepCapacity - 1);
  sweepPositions_[entry] = ring.position[slot];
  sweepHeights_[entry] =
      window_.DrawStrengthPoint(ring.position[slot], ring.x[slot], ring.y[slot], time, max, min);
  sweepStored_ = entry + 1;
}

void SignalStrengthThread::Complete() {
  if (replay_) {
    com_.ReviewCount[StrengthView] -= index_;
    if (!window_.CommandBusy()) window_.StopAction();
    return;
  }
  com_.WriteIndex[StrengthView] = index_;
  com_.ReviewIndex[StrengthView] = index_ - 1;
  if (!failed_) EndStream(kStopRunValues);
}

}  // namespace quillon
