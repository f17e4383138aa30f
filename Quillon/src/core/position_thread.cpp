#include "position_thread.h"

#include <algorithm>

#include "autoscale.h"
#include "probelink.h"
#include "signal_words.h"

namespace quillon {
namespace {
const uint8_t kStreamRegisters[] = {0x67, 0x69, 0x68, 0x40};
constexpr int32_t kValues = 4;
// The stop run is sized for six values, longer than a record of four.
constexpr int32_t kStopRunValues = 6;
constexpr int kMaxReadFailures = 2;
constexpr uint16_t kMaxHighPosition = 3;
constexpr uint16_t kMaxLastRegister = 55;
// Keeps the velocity division defined.
constexpr float kShortestInterval = 0.00001f;
}  // namespace

PositionThread::PositionThread(ComData& com, bool replay)
    : AcquisitionThread(com, PositionView, replay),
      span_(com.PositionPlotSeconds),
      time_(replay ? com.ReviewTime[PositionView] : com.ElapsedTime[PositionView]),
      index_(replay ? 0 : com.WriteIndex[PositionView].load()),
      slot_(replay ? WrapSlot(com.ReviewIndex[PositionView], kPlotRingSize) : index_),
      prevPosition_(
          com.Position().position[WrapSlot(com.WriteIndex[PositionView] - 1, kPlotRingSize)]) {
  windowStart_ = time_;
  window_.WriteTimeLabels(windowStart_, windowStart_ + span_);
  window_.WriteValueLabels(SharedLimits());
  if (replay_ && com_.ManualScale[PositionPlot]) replayLimits_ = SharedLimits();
  com_.RescaleRequest[PositionPlot] = true;
}

AxisLimits PositionThread::SharedLimits() const {
  return {com_.PositionAxisMin[PositionPlot], com_.PositionAxisMax[PositionPlot],
          com_.VelocityAxisMin, com_.VelocityAxisMax};
}

void PositionThread::StoreShared(const AxisLimits& limits) {
  com_.PositionAxisMin[PositionPlot] = limits.positionMin;
  com_.PositionAxisMax[PositionPlot] = limits.positionMax;
  com_.VelocityAxisMin = limits.velocityMin;
  com_.VelocityAxisMax = limits.velocityMax;
}

bool PositionThread::StartStream() {
  const bool started = SyncLine() && BeginAsyncWren(port_, kValues, kStreamRegisters) >= 0;
  ticks_ = Clock::now();
  return started;
}

void PositionThread::RunStep() {
  if (replay_)
    ReplayStep();
  else
    LiveStep();
}

void PositionThread::StartWindow(float start) {
  fullReplot_ = false;
  windowStart_ = start;
  windowTime_ = 0;
  windowPoints_ = 1;
  Draw([this, start] { window_.WriteTimeLabels(start, start + span_); });
  com_.AxisChanged[PositionPlot] = true;
}

void PositionThread::LiveStep() {
  uint16_t w[kValues] = {};
  if (ReadAsyncWren(port_, kValues, w) < 0) {
    ClearRxBuffer(port_);
    if (++errorCount_ > kMaxReadFailures) Fail();
    ticks_ = Clock::now();
    return;
  }
  if (w[1] > kMaxHighPosition || w[3] > kMaxLastRegister) {
    BusyWaitMs(1);
    ClearRxBuffer(port_);
    ticks_ = Clock::now();
    return;
  }
  errorCount_ = 0;
  PositionRing& ring = com_.Position();
  const int32_t position = JoinPosition(w[1], w[2], w[0]) - com_.ZeroOffset;
  const float interval = std::max(static_cast<float>(SecondsSince(ticks_)), kShortestInterval);
  ring.position[slot_] = position;
  ring.interval[slot_] = interval;
  const float velocity = (index_ == 0 || com_.RescaleRequest[PositionPlot])
                             ? 0.0f
                             : static_cast<float>(position - prevPosition_) / interval;
  ring.velocity[slot_] = velocity;
  prevPosition_ = position;

  windowTime_ += interval;
  if (windowTime_ >= span_)
    StartWindow(com_.ElapsedTime[PositionView] + interval);
  else
    windowPoints_ = std::min(windowPoints_ + 1, kWindowCapacity);

  AxisLimits limits = SharedLimits();
  Autoscale(position, velocity, limits);
  StoreShared(limits);
  ++index_;
  com_.ElapsedTime[PositionView] = com_.ElapsedTime[PositionView] + interval;
  AfterSample(position, velocity, interval, limits);

  if (index_ >= kPlotRingSize) {
    index_ = 0;
    com_.BufferWrapped[PositionView] = true;
  }
  slot_ = index_;
  com_.WriteIndex[PositionView] = index_;
}

void PositionThread::ReplayStep() {
  const auto start = Clock::now();
  if (index_ >= com_.ReviewCount[PositionView]) {
    com_.StopRequest = true;
    return;
  }
  const PositionRing& ring = com_.Position();
  const float interval = ring.interval[slot_];
  windowTime_ += interval;
  // A replayed window ends only once its span is exceeded.
  if (windowTime_ > span_)
    StartWindow(com_.ReviewTime[PositionView] + interval);
  else
    windowPoints_ = std::min(windowPoints_ + 1, kWindowCapacity);
  Autoscale(ring.position[slot_], ring.velocity[slot_], replayLimits_);
  ++index_;
  com_.ReviewTime[PositionView] = com_.ReviewTime[PositionView] + interval;
  AfterSample(ring.position[slot_], ring.velocity[slot_], interval, replayLimits_);
  slot_ = WrapSlot(slot_ + 1, kPlotRingSize);
  com_.ReviewIndex[PositionView] = slot_;

  // Every other sample waits a moment; the recorded interval (seconds) is
  // taken as milliseconds, so the replay runs about as fast as it can draw.
  const float next = ring.interval[slot_];
  if (next > std::chrono::duration<float>(Clock::now() - start).count() && !paced_) {
    paced_ = true;
  } else {
    ReplayWait(0.125e-3 * next);
    paced_ = false;
  }
}

// A window starts with a point, not with a jump from the last window's end.
void PositionThread::AfterSample(int32_t position, float velocity, float interval,
                                 const AxisLimits& limits) {
  if (windowPoints_ == 1) {
    lastPosition_ = position;
    lastVelocity_ = velocity;
  }
  const float now = time_;
  const TraceSegment segment{
      position,     lastPosition_, lastVelocity_,  velocity, now,
      windowStart_, span_,         now - interval, limits,   com_.ManualScale[PositionPlot]};
  Draw([this, point = windowPoints_, segment] { SegmentCall(point, segment); });
  lastPosition_ = position;
  lastVelocity_ = velocity;
  if (com_.AxisChanged[PositionPlot].exchange(false)) {
    fullReplot_ = true;
    DrawAxis(limits);
  }
}

void PositionThread::DrawAxis(const AxisLimits& limits) {
  AxisDrawing axis{limits,        SharedLimits(), com_.ManualScale[PositionPlot],
                   windowPoints_, windowStart_,   windowPoints_ >= 2 && fullReplot_};
  if (!axis.replot) {
    Draw([this, axis] { AxisCall(axis); });
    return;
  }
  fullReplot_ = false;
  // A replot clears the receive queue, so it runs while the thread waits
  // between records, never in the middle of one.
  OnGui([this, axis] { AxisCall(axis); });
}

void PositionThread::Autoscale(int32_t position, float velocity, AxisLimits& limits) {
  const bool manual = com_.ManualScale[PositionPlot];
  if (com_.RescaleRequest[PositionPlot].exchange(false)) {
    fullReplot_ = false;
    com_.AxisChanged[PositionPlot] = true;
    if (manual) return;
    FitPosition(position, limits.positionMax, limits.positionMin);
    FitVelocity(velocity, limits.velocityMax, limits.velocityMin);
  } else if (!manual) {
    const bool positionMoved = StretchPosition(position, limits.positionMax, limits.positionMin);
    const bool velocityMoved = StretchVelocity(velocity, limits.velocityMax, limits.velocityMin);
    if (positionMoved || velocityMoved) {
      fullReplot_ = true;
      com_.AxisChanged[PositionPlot] = true;
    }
  }
}

void PositionThread::SegmentCall(int32_t point, const TraceSegment& segment) {
  windowPositions_[point] = segment.positionNow;
  windowVelocities_[point] = segment.velocityNow;
  windowTimes_[point] = segment.timeNow;
  window_.DrawTraceSegment(segment);
}

void PositionThread::AxisCall(const AxisDrawing& axis) {
  if (axis.manual) window_.WriteValueLabels(axis.shared);
  window_.ClearTimePlot();
  if (axis.points < 2) return;
  window_.WriteValueLabels(!replay_ || axis.manual ? axis.shared : axis.limits);
  if (!axis.replot) return;
  window_.ReplotTrace(windowPositions_.data(), windowVelocities_.data(), windowTimes_.data(),
                      axis.points, axis.windowStart, span_, axis.limits);
  if (!replay_) ClearRxBuffer(port_);
}

void PositionThread::Complete() {
  if (replay_) {
    com_.ReviewCount[PositionView] -= index_;
    if (!window_.CommandBusy()) window_.StopAction();
    return;
  }
  com_.WriteIndex[PositionView] = index_;
  com_.ReviewIndex[PositionView] = index_ - 1;
  if (!failed_) EndStream(kStopRunValues);
}

}  // namespace quillon
