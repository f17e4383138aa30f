// A window that is never shown: a connection needs a window to talk to, but
// the fuzzers, the benchmarks and the report command draw nothing. They
// override only what they want to hear.
#pragma once

#include "window_link.h"

namespace quillon {

class IdleWindow : public WindowLink {
 public:
  void UpdateStatusDisplay(int32_t, float, int32_t, float, bool, bool) override {}
  void ClearLissajous() override {}
  void DrawLissajousPoint(bool, const SignalSample&, float) override {}
  void DrawLissajousBatch(bool, const SignalBatch&, const SignalBatch&, float) override {}
  int32_t DrawStrengthPoint(int32_t, int32_t, int32_t, float, int32_t, int32_t) override {
    return 0;
  }
  void ReplotStrength(const int32_t*, const int32_t*, int32_t, int32_t, int32_t) override {}
  void WriteStrengthLabels(int32_t, int32_t) override {}
  void WriteTimeLabels(float, float) override {}
  void WriteValueLabels(const AxisLimits&) override {}
  void DrawTraceSegment(const TraceSegment&) override {}
  void ReplotTrace(const int32_t*, const float*, const float*, int32_t, float, float,
                   const AxisLimits&) override {}
  void ClearTimePlot() override {}
  void ShowTime(float) override {}
  void ShowRegisterPass(const QStringList&) override {}
  bool CommandBusy() const override { return false; }
  int ModelCode() const override { return 1; }
  void StopAction() override {}
  void CommunicationFailure() override {}
  void ShowInterpolationAndFrequency(int32_t, uint32_t) override {}
};

}  // namespace quillon
