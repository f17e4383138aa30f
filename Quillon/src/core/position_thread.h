// The position view's thread: streams the position, derives the velocity,
// records both in the position ring and draws them as traces in a sliding
// time window, fitting both axes unless the user fixed them; or replays them.
#pragma once

#include <array>

#include "acquisition_thread.h"

namespace quillon {

class PositionThread final : public AcquisitionThread {
  Q_OBJECT

 public:
  PositionThread(ComData& com, bool replay);

 private:
  // The window store holds entries 1 to kWindowCapacity.
  static constexpr int32_t kWindowCapacity = kPlotRingSize - 1;

  bool StartStream() override;
  void RunStep() override;
  void Complete() override;
  void LiveStep();
  void ReplayStep();
  void StartWindow(float start);
  void Autoscale(int32_t position, float velocity, AxisLimits& limits);
  // What an axis change draws, as it stood when the sample came.
  struct AxisDrawing {
    AxisLimits limits, shared;
    bool manual;
    int32_t points;
    float windowStart;
    bool replot;
  };
  void AfterSample(int32_t position, float velocity, float interval, const AxisLimits& limits);
  void DrawAxis(const AxisLimits& limits);
  // GUI thread: records the point in the window store and draws its segments.
  void SegmentCall(int32_t point, const TraceSegment& segment);
  void AxisCall(const AxisDrawing& axis);
  AxisLimits SharedLimits() const;
  void StoreShared(const AxisLimits& limits);

  const float span_;
  std::atomic<float>& time_;
  int32_t index_;  // live: the slot being written; replay: samples played
  int32_t slot_;
  int32_t prevPosition_;
  int32_t windowPoints_ = 0;
  float windowTime_ = 0, windowStart_ = 0;
  int32_t lastPosition_ = 0;
  float lastVelocity_ = 0;
  bool fullReplot_ = false;
  bool paced_ = false;
  int errorCount_ = 0;
  AxisLimits replayLimits_;
  // The window's side: the window so far, for a replot.
  std::array<int32_t, kWindowCapacity + 1> windowPositions_{};
  std::array<float, kWindowCapacity + 1> windowVelocities_{}, windowTimes_{};
  Clock::time_point ticks_ = Clock::now();
};

}  // namespace quillon
