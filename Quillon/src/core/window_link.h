// What the device connection and the acquisition threads ask of the main
// window. Every call runs on the GUI thread: the threads reach it through a
// synchronised call while they wait. The window implements it; the tests
// implement it with a recorder.
#pragma once

#include <QStringList>
#include <array>
#include <cstdint>

namespace quillon {

// One encoder-signal sample as the stream delivers it.
struct SignalSample {
  uint16_t x = 0, y = 0, magnitude = 0, angle = 0;
};
using SignalBatch = std::array<SignalSample, 5>;

struct AxisLimits {
  int32_t positionMin = 0, positionMax = 0;
  float velocityMin = 0, velocityMax = 0;
};

struct TraceSegment {
  int32_t positionNow = 0, positionBefore = 0;
  float velocityBefore = 0, velocityNow = 0;
  float timeNow = 0, windowStart = 0, windowSpan = 0, timeBefore = 0;
  AxisLimits limits;
  bool manualScale = false;
};

class StatusDisplay {
 public:
  virtual ~StatusDisplay() = default;
  virtual void UpdateStatusDisplay(int32_t position, float level, int32_t status, float time,
                                   bool replay, bool levelReady) = 0;
};

class LissajousDisplay {
 public:
  virtual ~LissajousDisplay() = default;
  virtual void ClearLissajous() = 0;
  virtual void DrawLissajousPoint(bool erase, const SignalSample& sample, float time) = 0;
  virtual void DrawLissajousBatch(bool erase, const SignalBatch& fresh, const SignalBatch& old,
                                  float time) = 0;
};

class StrengthDisplay {
 public:
  virtual ~StrengthDisplay() = default;
  // Returns the height of the drawn point in pixels.
  virtual int32_t DrawStrengthPoint(int32_t position, int32_t x, int32_t y, float time,
                                    int32_t maximum, int32_t minimum) = 0;
  // Entries 0 to n - 1 of the arrays are the sweep so far.
  virtual void ReplotStrength(const int32_t* positions, const int32_t* heights, int32_t maximum,
                              int32_t minimum, int32_t n) = 0;
  virtual void WriteStrengthLabels(int32_t minimum, int32_t maximum) = 0;
};

class TraceDisplay {
 public:
  virtual ~TraceDisplay() = default;
  virtual void WriteTimeLabels(float start, float end) = 0;
  virtual void WriteValueLabels(const AxisLimits& limits) = 0;
  virtual void DrawTraceSegment(const TraceSegment& segment) = 0;
  // Entries 1 to n are the window so far; velocities[0] is the start value.
  virtual void ReplotTrace(const int32_t* positions, const float* velocities, const float* times,
                           int32_t n, float windowStart, float windowSpan,
                           const AxisLimits& limits) = 0;
};

class PlotSurface {
 public:
  virtual ~PlotSurface() = default;
  // Fills the plot black and redraws the grid of the current time plot.
  virtual void ClearTimePlot() = 0;
  virtual void ShowTime(float seconds) = 0;
};

class EngineeringRefresh {
 public:
  virtual ~EngineeringRefresh() = default;
  // The 30 texts of one register pass, in display order.
  virtual void ShowRegisterPass(const QStringList& texts) = 0;
};

class WindowControl {
 public:
  virtual ~WindowControl() = default;
  virtual bool CommandBusy() const = 0;
  virtual int ModelCode() const = 0;
  // The Stop button's action: leaves the current view stopped.
  virtual void StopAction() = 0;
  virtual void CommunicationFailure() = 0;
  virtual void ShowInterpolationAndFrequency(int32_t interpCode, uint32_t statusSetup) = 0;
};

// Everything at once, as the main window offers it.
class WindowLink : public StatusDisplay,
                   public LissajousDisplay,
                   public StrengthDisplay,
                   public TraceDisplay,
                   public PlotSurface,
                   public EngineeringRefresh,
                   public WindowControl {};

}  // namespace quillon
