// The status page's thread: polls status, signals and position register by
// register, records them in the status ring and hands each sample to the
// status panel; or replays the recorded samples in real time.
#pragma once

#include "acquisition_thread.h"

namespace quillon {

class MainThread final : public AcquisitionThread {
  Q_OBJECT

 public:
  MainThread(ComData& com, bool replay);

 private:
  void RunStep() override;
  void Complete() override;
  void LiveStep();
  void ReplayStep();
  // The five reads of one sample into the current slot.
  bool ReadSample();
  bool Exchange(const std::function<int32_t()>& read);
  void ShowSample();

  int32_t index_;  // live: the slot being written; replay: samples still to play
  int32_t slot_;
  int levelCount_ = 0;
  bool levelReady_ = false;
  float levelSum_ = 0;
  Clock::time_point ticks_ = Clock::now();
  std::atomic<float>& time_;
};

}  // namespace quillon
