// The signal-strength view's thread: streams signals and position, records
// them in the strength ring and plots the level against position in sweeps,
// fitting the position axis to the data unless the user fixed it; or replays
// the recorded sweep.
#pragma once

#include <array>

#include "acquisition_thread.h"

namespace quillon {

class SignalStrengthThread final : public AcquisitionThread {
  Q_OBJECT

 public:
  SignalStrengthThread(ComData& com, bool replay);

 private:
  // A sweep is at most its points and the restart point before them.
  static constexpr int32_t kSweepCapacity = 10001;

  bool StartStream() override;
  void RunStep() override;
  void Complete() override;
  void LiveStep();
  void ReplayStep();
  void Autoscale(int32_t position, int32_t& max, int32_t& min);
  void RestartSweep();
  void DrawAxis(int32_t max, int32_t min);
  void DrawPoint(float time, int32_t max, int32_t min);
  void AxisCall(int32_t max, int32_t min, bool replot);
  void PointCall(int32_t slot, float time, int32_t max, int32_t min);

  const int32_t sweepPoints_;
  const int modelCode_;
  int32_t index_;  // live: the slot being written; replay: samples played
  int32_t slot_;
  int32_t sweepCount_ = 0;
  bool fullReplot_ = false;
  // The window's side: the sweep's samples drawn so far, from entry 0.
  int32_t sweepStored_ = 0;
  int errorCount_ = 0;
  int32_t replayMax_ = 0, replayMin_ = 0;
  std::array<int32_t, kSweepCapacity> sweepPositions_{}, sweepHeights_{};
  Clock::time_point ticks_ = Clock::now();
};

}  // namespace quillon
