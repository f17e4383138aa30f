// What the acquisition threads draw on the plot, on the GUI thread inside
// their synchronised calls.
#include <QLabel>

#include "canvas_widgets.h"
#include "main_form.h"
#include "number_format.h"

namespace quillon {

void TMainForm::ClearLissajous() {
  ClearGraph();
  DrawPlotGrid();
}

void TMainForm::ClearTimePlot() {
  ClearGraph();
  DrawPlotGrid();
}

void TMainForm::ShowTime(float seconds) { TimeText2->setText(FormatFixed(seconds, 6, 1)); }

void TMainForm::DrawLissajousPoint(bool, const SignalSample&, float time) { ShowTime(time); }

void TMainForm::DrawLissajousBatch(bool, const SignalBatch&, const SignalBatch&, float time) {
  ShowTime(time);
}

int32_t TMainForm::DrawStrengthPoint(int32_t, int32_t, int32_t, float time, int32_t, int32_t) {
  ShowTime(time);
  return 0;
}

void TMainForm::ReplotStrength(const int32_t*, const int32_t*, int32_t, int32_t, int32_t) {}

void TMainForm::WriteStrengthLabels(int32_t, int32_t) {}

void TMainForm::WriteTimeLabels(float, float) {}

void TMainForm::WriteValueLabels(const AxisLimits&) {}

void TMainForm::DrawTraceSegment(const TraceSegment& segment) { ShowTime(segment.timeNow); }

void TMainForm::ReplotTrace(const int32_t*, const float*, const float*, int32_t, float, float,
                            const AxisLimits&) {}

void TMainForm::ShowRegisterPass(const QStringList&) {}

}  // namespace quillon
