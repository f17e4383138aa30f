// Mapping samples to pixels on the plot box and drawing them: Lissajous
// points, strength points, position and velocity traces, their replots and
// the numeric axis labels. The window owns the image and the grid; these
// functions draw into a painter on it and keep no state.
#pragma once

#include <QPainter>
#include <QPoint>
#include <QString>
#include <array>
#include <optional>

#include "window_link.h"

namespace quillon::plot {

// Which traces a plot shows: raw signal (0), processed vector (1) or both (2);
// position (0), velocity (1) or both (2).
enum PlotType : int { FirstOnly = 0, SecondOnly = 1, Both = 2 };

const QColor kBackground{0, 0, 0};
const QColor kRaw{255, 0, 0};
// The processed vector has a colour of its own, apart from the raw red.
const QColor kProcessed{255, 255, 0};
const QColor kLime{0, 255, 0};
const QColor kGreen{0, 128, 0};

struct Size {
  int width;
  int height;
};

// The two points of one encoder-signal sample: the raw x/y pair and the
// vector the electronics made of it.
struct LissajousPoints {
  QPoint raw;
  QPoint processed;
};
LissajousPoints MapLissajous(const SignalSample& sample, int width);
// Erasing overdraws both points in black, whatever is shown.
void DrawLissajousSample(QPainter& painter, const SignalSample& sample, int width, int plotType,
                         bool erase);

// Signal level in percent, at most 100.
double StrengthLevel(int32_t xWord, int32_t yWord);
int StrengthHeight(int32_t xWord, int32_t yWord, int height);
int StrengthX(int32_t position, int32_t minimum, int32_t maximum, int width);
// The two reference lines of the models that have them.
void DrawStrengthReferenceLines(QPainter& painter, int layoutMode);
void DrawStrengthMark(QPainter& painter, int x, int pointHeight, int height);

void DrawTraceSegment(QPainter& painter, const TraceSegment& segment, Size size, int plotType);
void ReplotTrace(QPainter& painter, const int32_t* positions, const float* velocities,
                 const float* times, int32_t n, float windowStart, float windowSpan,
                 const AxisLimits& limits, Size size, int plotType);

// Position and velocity in display units.
struct Units {
  double positionScale = 1;
  double countLength = 1;
};
// Labels from the highest (index 0, XValue1 / YValue1) to the lowest.
std::array<QString, 5> StrengthXLabels(int32_t minimum, int32_t maximum, Units units);
std::array<QString, 5> TimeLabels(float start, float end);
std::array<QString, 5> PositionLabels(int32_t minimum, int32_t maximum, Units units);
std::array<QString, 5> VelocityLabels(float minimum, float maximum, Units units);
QString TimeText(float seconds);

}  // namespace quillon::plot
