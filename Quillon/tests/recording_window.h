// A window stand-in that records what the connection and the threads ask of
// it, for tests without widgets.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <vector>

#include "window_link.h"

namespace quillon {

struct StatusUpdate {
  int32_t position;
  float level;
  int32_t status;
  float time;
  bool replay;
  bool levelReady;
};

class RecordingWindow : public WindowLink {
 public:
  std::vector<StatusUpdate> statusUpdates;
  int lissajousClears = 0, lissajousPoints = 0, lissajousErasedPoints = 0;
  std::vector<bool> batchErase;
  std::vector<int32_t> strengthPositions;
  int strengthReplots = 0, timePlotClears = 0;
  std::vector<std::pair<int32_t, int32_t>> strengthLabels;
  std::vector<TraceSegment> segments;
  int traceReplots = 0;
  std::vector<std::pair<float, float>> timeLabels;
  std::vector<AxisLimits> valueLabels;
  std::vector<float> times;
  std::vector<QStringList> registerPasses;
  int stopActions = 0, failures = 0;
  int32_t shownInterpCode = -1;
  uint32_t shownStatusSetup = 0;
  bool commandBusy = false;
  int modelCode = 1;

  void UpdateStatusDisplay(int32_t position, float level, int32_t status, float time, bool replay,
                           bool levelReady) override {
    statusUpdates.push_back({position, level, status, time, replay, levelReady});
  }
  void ClearLissajous() override { ++lissajousClears; }
  void DrawLissajousPoint(bool erase, const SignalSample&, float) override {
    ++(erase ? lissajousErasedPoints : lissajousPoints);
  }
  void DrawLissajousBatch(bool erase, const SignalBatch&, const SignalBatch&, float) override {
    batchErase.push_back(erase);
  }
  int32_t DrawStrengthPoint(int32_t position, int32_t, int32_t, float, int32_t, int32_t) override {
    strengthPositions.push_back(position);
    return 10;
  }
  void ReplotStrength(const int32_t*, const int32_t*, int32_t, int32_t, int32_t) override {
    ++strengthReplots;
  }
  void WriteStrengthLabels(int32_t minimum, int32_t maximum) override {
    strengthLabels.emplace_back(minimum, maximum);
  }
  void WriteTimeLabels(float start, float end) override { timeLabels.emplace_back(start, end); }
  void WriteValueLabels(const AxisLimits& limits) override { valueLabels.push_back(limits); }
  void DrawTraceSegment(const TraceSegment& segment) override { segments.push_back(segment); }
  void ReplotTrace(const int32_t*, const float*, const float*, int32_t, float, float,
                   const AxisLimits&) override {
    ++traceReplots;
  }
  void ClearTimePlot() override { ++timePlotClears; }
  void ShowTime(float seconds) override { times.push_back(seconds); }
  void ShowRegisterPass(const QStringList& texts) override { registerPasses.push_back(texts); }
  bool CommandBusy() const override { return commandBusy; }
  int ModelCode() const override { return modelCode; }
  void StopAction() override { ++stopActions; }
  void CommunicationFailure() override { ++failures; }
  void ShowInterpolationAndFrequency(int32_t interpCode, uint32_t statusSetup) override {
    shownInterpCode = interpCode;
    shownStatusSetup = statusSetup;
  }
};

// Runs the event loop until the condition holds or the limit passes.
template <class Condition>
bool ProcessUntil(Condition condition, int limitMs = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return true;
}

}  // namespace quillon
