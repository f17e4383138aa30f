// The alignment figures beside the encoder-signal plot. The window hands it
// each sample it draws; a few times a second it fits the most recent ones
// and shows the figures in the colours of their verdicts.
#pragma once

#include <QLabel>
#include <QTimer>
#include <deque>
#include <vector>

#include "measure/alignment_fit.h"
#include "measure/tolerances.h"
#include "window_link.h"

namespace quillon {

class AlignmentReadout : public QLabel {
  Q_OBJECT
 public:
  explicit AlignmentReadout(QWidget* parent);
  void SetTolerances(const measure::AlignmentTolerances& tolerances) { tolerances_ = tolerances; }
  void Add(const SignalSample& sample);
  void Clear();
  // The figures of the latest fit, or why there are none.
  const measure::AlignmentFit& Latest() const { return latest_; }
  const measure::AlignmentTolerances& Tolerances() const { return tolerances_; }
  // The newest samples, oldest first.
  std::vector<measure::SignalPoint> Samples() const { return {recent_.begin(), recent_.end()}; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Refresh();

  std::deque<measure::SignalPoint> recent_;  // the newest, oldest first
  bool added_ = false;  // since the last fit
  measure::AlignmentFit latest_ = measure::FitRefusal::TooFewSamples;
  measure::AlignmentTolerances tolerances_;
  QTimer refresh_;
};

}  // namespace quillon
