// What the acquisition threads draw on the plot, on the GUI thread inside
// their synchronised calls. The mapping and the pens are plot_drawing's;
// here they meet the window's image, labels and plot types.
#include <QLabel>

#include "alignment_readout.h"
#include "canvas_widgets.h"
#include "engineering_display.h"
#include "main_form.h"
#include "plot_drawing.h"

namespace quillon {
namespace {

template <class Draw>
void Paint(PaintBox* box, Draw draw) {
  {
    QPainter painter(&box->Image());
    draw(painter, plot::Size{box->Image().width(), box->Image().height()});
  }
  box->Changed();
}

plot::Units UnitsOf(const TMainForm& form) { return {form.PositionScale, form.CountLength}; }

void SetLabels(const std::array<QLabel*, 5>& labels, const std::array<QString, 5>& texts) {
  for (size_t i = 0; i < labels.size(); ++i) labels[i]->setText(texts[i]);
}

}  // namespace

void TMainForm::ClearLissajous() {
  alignmentReadout_->Clear();
  ClearGraph();
  DrawPlotGrid();
}

void TMainForm::ClearTimePlot() {
  ClearGraph();
  DrawPlotGrid();
}

// Samples come far faster than the tenths of a second shown change.
void TMainForm::ShowTime(float seconds) {
  const QString text = plot::TimeText(seconds);
  if (text != TimeText2->text()) TimeText2->setText(text);
}

// Erasing punches holes into the grid, so the grid is redrawn before the
// points are drawn.
void TMainForm::DrawLissajousPoint(bool erase, const SignalSample& sample, float time) {
  if (!erase) {
    DrawPlotGrid();
    alignmentReadout_->Add(sample);
  }
  Paint(GraphBox, [&](QPainter& painter, plot::Size size) {
    plot::DrawLissajousSample(painter, sample, size.width, Persisted.EncoderPlotType, erase);
  });
  if (!erase) ShowTime(time);
}

void TMainForm::DrawLissajousBatch(bool erase, const SignalBatch& fresh, const SignalBatch& old,
                                   float time) {
  const auto draw = [this](const SignalBatch& batch, bool asErase) {
    Paint(GraphBox, [&](QPainter& painter, plot::Size size) {
      for (const SignalSample& sample : batch)
        plot::DrawLissajousSample(painter, sample, size.width, Persisted.EncoderPlotType, asErase);
    });
  };
  if (erase) draw(old, true);
  DrawPlotGrid();
  draw(fresh, false);
  for (const SignalSample& sample : fresh) alignmentReadout_->Add(sample);
  ShowTime(time);
}

int32_t TMainForm::DrawStrengthPoint(int32_t position, int32_t x, int32_t y, float time,
                                     int32_t maximum, int32_t minimum) {
  int height = 0;
  Paint(GraphBox, [&](QPainter& painter, plot::Size size) {
    if (modelCode_ <= 2) plot::DrawStrengthReferenceLines(painter, LayoutMode);
    height = plot::StrengthHeight(x, y, size.height);
    plot::DrawStrengthMark(painter, plot::StrengthX(position, minimum, maximum, size.width), height,
                           size.height);
  });
  ShowTime(time);
  return height;
}

void TMainForm::ReplotStrength(const int32_t* positions, const int32_t* heights, int32_t maximum,
                               int32_t minimum, int32_t n) {
  Paint(GraphBox, [&](QPainter& painter, plot::Size size) {
    for (int32_t i = 0; i < n; ++i)
      plot::DrawStrengthMark(painter, plot::StrengthX(positions[i], minimum, maximum, size.width),
                             heights[i], size.height);
  });
}

void TMainForm::WriteStrengthLabels(int32_t minimum, int32_t maximum) {
  SetLabels(XValues, plot::StrengthXLabels(minimum, maximum, UnitsOf(*this)));
}

void TMainForm::WriteTimeLabels(float start, float end) {
  SetLabels(XValues, plot::TimeLabels(start, end));
}

void TMainForm::WriteValueLabels(const AxisLimits& limits) {
  SetLabels({YValues[0], YValues[1], YValues[2], YValues[3], YValues[4]},
            plot::PositionLabels(limits.positionMin, limits.positionMax, UnitsOf(*this)));
  SetLabels({YValues[5], YValues[6], YValues[7], YValues[8], YValues[9]},
            plot::VelocityLabels(limits.velocityMin, limits.velocityMax, UnitsOf(*this)));
}

void TMainForm::DrawTraceSegment(const TraceSegment& segment) {
  ShowTime(segment.timeNow);
  Paint(GraphBox, [&](QPainter& painter, plot::Size size) {
    plot::DrawTraceSegment(painter, segment, size, Persisted.PositionPlotType);
  });
}

void TMainForm::ReplotTrace(const int32_t* positions, const float* velocities, const float* times,
                            int32_t n, float windowStart, float windowSpan,
                            const AxisLimits& limits) {
  Paint(GraphBox, [&](QPainter& painter, plot::Size size) {
    plot::ReplotTrace(painter, positions, velocities, times, n, windowStart, windowSpan, limits,
                      size, Persisted.PositionPlotType);
  });
}

void TMainForm::ShowRegisterPass(const QStringList& texts) {
  EngineeringDisplay->ShowRegisterPass(texts);
}

}  // namespace quillon
