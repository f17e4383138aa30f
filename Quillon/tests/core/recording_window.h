// A window stand-in that records what the connection and the threads ask of
// it, for tests without widgets.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <vector>

#include "window_link.h"

namespace quillon {

struct StatusUpdate {
  int32_t position;
  float level;
  bool replay, levelReady;
};

class RecordingWindow : public WindowLink {
 public:
  std::vector<StatusUpdate> statusUpdates;
  std::vector<bool> batchErase;
  std::vector<uint16_t> erasedX;  // of the old points of each erasing batch
  std::vector<int32_t> strengthPositions;
  // Each strength replot: the points drawn before it, and the positions it drew.
  std::vector<std::pair<size_t, std::vector<int32_t>>> replots;
  std::vector<TraceSegment> segments;
  std::vector<float> times, windowStarts;
  std::vector<QStringList> registerPasses;
  std::pair<int32_t, uint32_t> shownSetup{-1, 0};  // interpolation code, status setup
  // Lissajous clears, points drawn and erased; time-plot clears; Stop actions.
  int clears = 0, points = 0, erased = 0, plotClears = 0, stops = 0, failures = 0, modelCode = 1;
  bool commandBusy = false;

  void UpdateStatusDisplay(int32_t p, float level, int32_t, float, bool replay,
                           bool ready) override {
    statusUpdates.push_back({p, level, replay, ready});
  }
  void ClearLissajous() override { ++clears; }
  void DrawLissajousPoint(bool erase, const SignalSample&, float) override {
    ++(erase ? erased : points);
  }
  void DrawLissajousBatch(bool erase, const SignalBatch&, const SignalBatch& old, float) override {
    batchErase.push_back(erase);
    if (erase)
      for (const SignalSample& s : old) erasedX.push_back(s.x);
  }
  int32_t DrawStrengthPoint(int32_t p, int32_t, int32_t, float, int32_t, int32_t) override {
    strengthPositions.push_back(p);
    return 10;
  }
  void ReplotStrength(const int32_t* positions, const int32_t*, int32_t, int32_t,
                      int32_t n) override {
    replots.emplace_back(strengthPositions.size(), std::vector(positions, positions + n));
  }
  void WriteStrengthLabels(int32_t, int32_t) override {}
  void WriteTimeLabels(float start, float) override { windowStarts.push_back(start); }
  void WriteValueLabels(const AxisLimits&) override {}
  void DrawTraceSegment(const TraceSegment& segment) override { segments.push_back(segment); }
  void ReplotTrace(const int32_t*, const float*, const float*, int32_t, float, float,
                   const AxisLimits&) override {}
  void ClearTimePlot() override { ++plotClears; }
  void ShowTime(float seconds) override { times.push_back(seconds); }
  void ShowRegisterPass(const QStringList& texts) override { registerPasses.push_back(texts); }
  bool CommandBusy() const override { return commandBusy; }
  int ModelCode() const override { return modelCode; }
  void StopAction() override { ++stops; }
  void CommunicationFailure() override { ++failures; }
  void ShowInterpolationAndFrequency(int32_t code, uint32_t setup) override {
    shownSetup = {code, setup};
  }
};

// Runs the event loop until the condition holds or the limit passes.
template <class Condition>
bool ProcessUntil(Condition condition, int limitMs = 10000) {
  for (const QDeadlineTimer deadline(limitMs); !condition();) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return true;
}

}  // namespace quillon
