// The alignment figures beside the encoder-signal plot. The window hands it
// each sample it draws; a few times a second it fits the most recent ones
// and shows the figures in the colours of their verdicts.
#pragma once

#include <QLabel>
#include <QTimer>
#include <vector>

#include "alignment_fit.h"
#include "extra_options.h"
#include "window_link.h"

namespace quillon {

class AlignmentReadout : public QLabel {
  Q_OBJECT
 public:
  explicit AlignmentReadout(QWidget* parent);
  void SetTolerances(const AlignmentTolerances& tolerances) { tolerances_ = tolerances; }
  void Add(const SignalSample& sample);
  void Clear();
  // The figures of the latest fit, or why there are none.
  const AlignmentFit& Latest() const { return latest_; }
  const AlignmentTolerances& Tolerances() const { return tolerances_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Refresh();

  std::vector<SignalPoint> recent_;  // a ring of the newest samples
  size_t next_ = 0;
  bool added_ = false;  // since the last fit
  AlignmentFit latest_ = FitRefusal::TooFewSamples;
  AlignmentTolerances tolerances_;
  QTimer refresh_;
};

}  // namespace quillon
