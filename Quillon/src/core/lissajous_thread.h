// The encoder-signal view's thread: streams sine, cosine, angle and
// magnitude, records them in the signal ring and draws a moving trail of the
// newest points, five at a time; or replays them at twice the recorded speed.
#pragma once

#include "acquisition_thread.h"

namespace quillon {

class LissajousThread final : public AcquisitionThread {
  Q_OBJECT

 public:
  LissajousThread(ComData& com, bool replay);

 private:
  bool StartStream() override;
  void RunStep() override;
  void Complete() override;
  void LiveStep();
  void ReplayStep();
  SignalSample SampleAt(int32_t slot) const;

  const int32_t trailLength_;
  int32_t index_;  // live: the slot being written; replay: samples played
  int32_t slot_;
  int32_t trailIndex_;  // the oldest point on show
  bool erase_ = false;
  int errorCount_ = 0;
  int batchCount_ = 0;
  SignalBatch fresh_{}, old_{};
  Clock::time_point ticks_ = Clock::now();
};

}  // namespace quillon
