// The acquisition threads against the emulated electronics: live rings,
// positions, stop, wrap, the review window, replay and the failure rules.
#include <cmath>
#include <functional>
#include <limits>
#include <mutex>
#include <thread>

#include "autoscale.h"
#include "emulated_connection.h"
#include "measure/alignment_fit.h"
#include "signal_words.h"

namespace quillon {

// The line calls the threads make are wrapped at link time (see the test
// CMakeLists), so that a test decides which of them fail: one character of a
// call's plan per call, 'x' fails it, 's' fails it and asks the thread to
// stop, 'o' hands over a stream record read out of frame, '.' lets it pass.
// A failed call never reaches the line.
enum Call { kSync, kRegisterRead, kPositionRead, kStreamStart, kStreamRead, kCable };
std::mutex planMutex;
std::string plans[kCable];
ComData* planned = nullptr;

// True when the call fails.
bool Fails(Call call, char* outcome = nullptr) {
  const std::lock_guard lock(planMutex);
  const char next = plans[call].empty() ? '.' : plans[call].front();
  if (!plans[call].empty()) plans[call].erase(0, 1);
  if (next == 's') planned->RequestStop();
  if (outcome) *outcome = next;
  return next == 'x' || next == 's';
}

#define SCRIPTED(call, name, params, args) \
  int32_t __real_##name params;            \
  int32_t __wrap_##name params { return Fails(call) ? -1 : __real_##name args; }
extern "C" {
SCRIPTED(kSync, SendSync, (int32_t port), (port))
SCRIPTED(kRegisterRead, ReadRegisterWren, (int32_t port, uint32_t w, uint16_t* v), (port, w, v))
SCRIPTED(kPositionRead, ReadShiftedPositionWren, (int32_t port, int32_t* p), (port, p))
SCRIPTED(kStreamStart, BeginAsyncWren, (int32_t port, int32_t n, const uint8_t* r), (port, n, r))
int32_t __real_ReadAsyncWren(int32_t port, int32_t n, uint16_t* values);
int32_t __wrap_ReadAsyncWren(int32_t port, int32_t n, uint16_t* values) {
  char outcome = '.';
  const int32_t result = Fails(kStreamRead, &outcome) ? -1 : __real_ReadAsyncWren(port, n, values);
  if (outcome == 'o') std::fill_n(values, n, 0xFFFF);
  return result;
}
}

class Acquisition : public EmulatedConnection {
 protected:
  // No thread is left from the previous test to read the plans.
  void SetUp() override {
    for (std::string& plan : plans) plan.clear();
    ASSERT_TRUE(Start());
    planned = com_.get();
  }
  void Run(int view, int action = ActionLive) {
    using Starter = void (ComData::*)(int);
    static constexpr Starter starters[] = {&ComData::StartStatus, &ComData::StartSignal,
                                           &ComData::StartStrength, &ComData::StartPosition};
    view == EngineeringView ? com_->StartReadAll() : std::invoke(starters[view], *com_, action);
  }
  std::pair<int32_t, int32_t> Limits(int plot) const {
    return {com_->PositionAxisMin[plot], com_->PositionAxisMax[plot]};
  }
  int32_t Progress(int view) const {
    return view == EngineeringView ? int32_t(window_.registerPasses.size())
                                   : com_->WriteIndex[view].load();
  }
  void StopAndWait() {
    com_->RequestStop();
    ASSERT_TRUE(WaitStopped());
  }
  // A live run of the view until n more samples have come, or a condition holds.
  bool Sample(int view, int32_t n, const std::function<bool()>& done = {}) {
    const int32_t until = Progress(view) + n;
    Run(view);
    EXPECT_TRUE(com_->ThreadRunning) << "set by the start, before the thread gets going";
    const bool came = ProcessUntil([&] { return n > 0 ? Progress(view) >= until : done(); });
    StopAndWait();
    return came;
  }
  // n recorded status samples of the given interval; position i in slot i.
  void RecordStatus(int32_t n, float interval) {
    for (int32_t i = 0; i < n; ++i)
      com_->Status().interval[i] = interval, com_->Status().position[i] = i;
    com_->WriteIndex[StatusView] = n, com_->ReviewIndex[StatusView] = n - 1;
    com_->ElapsedTime[StatusView] = n * interval;
  }
};

// Started four slots before the ring's end, so that it wraps.
TEST_F(Acquisition, StatusThreadRecordsAndShowsEverySampleWithALevelEveryFourth) {
  const int32_t first = kStatusRingSize - 4;
  com_->WriteIndex[StatusView] = first;
  ASSERT_TRUE(Sample(StatusView, 0, [&] { return window_.statusUpdates.size() >= 9; }));
  const std::vector<StatusUpdate>& shown = window_.statusUpdates;
  // A stop takes effect after a complete sample.
  const int32_t n = com_->WriteIndex[StatusView], last = com_->ReviewIndex[StatusView];
  EXPECT_EQ(std::tuple(n, com_->BufferWrapped[StatusView].load(), last),
            std::tuple(int32_t(shown.size()) - 4, true, n - 1));
  // The level handed on every fourth sample: the mean of four amplitudes, over four.
  const StatusRing& ring = com_->Status();
  double sum = 0;
  for (int i = 0; i < 8; ++i) {
    const int32_t s = (first + i) % kStatusRingSize;
    sum += std::hypot(SignedSignal(ring.x[s]), SignedSignal(ring.y[s])) / 16;
    EXPECT_EQ(shown[i].position, ring.position[s]);
    EXPECT_EQ(shown[i].levelReady, i % 4 == 3) << i;
    EXPECT_NEAR(shown[i].level, i % 4 == 3 ? std::exchange(sum, 0) : shown[i].level, 1e-3) << i;
  }
  EXPECT_GT(com_->ElapsedTime[StatusView], 0);
}

// A head standing still: its counter joined from three registers as a 30-bit
// signed value, a quarter of it in the views that count quarters, less the
// zero offset (set, taken by the status view's zero request, or captured by
// the zeroing command), in what is recorded, shown and saved.
TEST_F(Acquisition, EveryViewRecordsSignedThirtyBitPositionsLessTheZeroOffset) {
  // Model, head, zeroing ('-' none, 's' set, 'r' requested, 'c' captured),
  // zero offset, status, strength and position view positions.
  // clang-format off
  const std::tuple<uint16_t, int32_t, char, int32_t, int32_t, int32_t, int32_t> cases[] = {
      {1, -300000003, '-', 0, -300000003, -300000003, -300000003},
      {3, -40003, 's', 1000, -11000, -11000, -41003}, {3, -40003, 'r', -10000, 0, 0, -30003},
      {4, 300000001, 's', -25, 300000026, 75000025, 300000026}, {1, 123457, 'c', 123457, 0, 0, 0}};
  // clang-format on
  const auto fitted = [](int32_t p) {  // the axis limits a rescale puts round p
    const int32_t a = int32_t(p + 0.05 * p), b = int32_t(p - 0.05 * p);
    return p == 0 ? std::pair(-1, 1) : std::pair(std::min(a, b), std::max(a, b));
  };
  for (const auto& [model, head, zeroing, offset, status, strength, position] : cases) {
    SCOPED_TRACE(testing::Message() << "model " << model << " head " << head << zeroing);
    TearDown();
    window_ = RecordingWindow();
    window_.modelCode = model;
    ASSERT_TRUE(Start(model, head, 0));
    if (zeroing == 's') com_->ZeroOffset = offset;
    if (zeroing == 'r') com_->RequestZero();
    if (zeroing == 'c') com_->CaptureZeroOffset();
    for (const int view : {StatusView, StrengthView, PositionView, EngineeringView})
      ASSERT_TRUE(Sample(view, 2));
    // What is shown is what the rings, and so the files, hold.
    EXPECT_EQ(com_->ZeroOffset, offset);
    EXPECT_EQ(window_.statusUpdates.at(1).position, status);
    EXPECT_EQ(window_.strengthPositions.at(1), strength);
    EXPECT_EQ(window_.segments.at(1).positionNow, position);
    EXPECT_EQ(Limits(StrengthPlot), fitted(strength));
    EXPECT_EQ(Limits(PositionPlot), fitted(position));
    EXPECT_TRUE(com_->VelocityAxisMin == -0.01f && com_->VelocityAxisMax == 0.01f);
    // The register survey shows the counter itself, neither divided nor zeroed.
    const QStringList& pass = window_.registerPasses.at(0);
    ASSERT_EQ(pass.size(), 30);
    EXPECT_EQ(pass[29], QString::asprintf("%08X", uint32_t(head)));
    EXPECT_TRUE(pass[0].size() == 4 && pass[26].size() == 8 && pass[26][5] == '5') << "family 5";
  }
}

TEST_F(Acquisition, ReviewRequestsStepTenSecondsBackAndReplayPlaysTheWindow) {
  RecordStatus(10, 0.5f);
  com_->StartStatus(ActionView);
  EXPECT_FALSE(com_->ThreadRunning) << "nothing to replay only shows the time";
  EXPECT_FLOAT_EQ(window_.times.at(0), 5.0f);
  // Requests with the window extended or not, from a count: the count and
  // start slot after, and the start time shown. The first slot walked is the
  // unwritten one behind the newest sample; a window that holds all usable
  // samples changes nothing and shows nothing.
  RecordStatus(500, 0.125f);
  const std::tuple<bool, int32_t, int32_t, int32_t, std::vector<float>> requests[] = {
      {false, 0, 81, 419, {52.5f}}, {true, 81, 81, 419, {52.5f}}, {false, 81, 161, 339, {42.5f}},
      {false, 500, 500, 339, {}}};
  for (const auto& [extended, count, after, slot, shown] : requests) {
    window_.times.clear();
    com_->ReviewExtended = extended;
    com_->ReviewCount[StatusView] = count;
    com_->StartStatus(ActionReview);
    EXPECT_EQ(std::tuple(com_->ReviewCount[StatusView].load(), com_->ReviewIndex[StatusView].load(),
                         window_.times), std::tuple(after, slot, shown)) << extended << count;
  }
  RecordStatus(40, 0.001f);
  com_->ReviewIndex[StatusView] = 0, com_->ReviewCount[StatusView] = 40;
  com_->StartStatus(ActionView);
  ASSERT_TRUE(WaitStopped());
  // The oldest sample first; a finished replay stops the view.
  const std::vector<StatusUpdate>& shown = window_.statusUpdates;
  ASSERT_EQ(shown.size(), 40u);
  EXPECT_EQ(std::tuple(shown[0].replay, shown[0].position, shown[39].position),
            std::tuple(true, 0, 39));
  EXPECT_EQ(std::pair(window_.stops, com_->ReviewCount[StatusView].load()), std::pair(1, 0));
  window_.commandBusy = true;
  com_->ReviewIndex[StatusView] = 29, com_->ReviewCount[StatusView] = 10;
  com_->StartStatus(ActionView);
  ASSERT_TRUE(WaitStopped());
  EXPECT_EQ(window_.stops, 1) << "unless the window is busy";
}

// A start while another thread runs is refused, though a plotted view empties
// its ring first. Then a trail of 10: erased from sample 11 on, continued
// by a restart, and replayed.
TEST_F(Acquisition, LissajousStartsWhenNothingRunsAndErasesItsTrailOnceFull) {
  com_->SetPlotSizes(10, 100, 1.0f);
  com_->StartStatus(ActionLive);
  com_->ClearPending[SignalView] = true;
  com_->WriteIndex[SignalView] = 77;
  com_->StartSignal(ActionLive);
  EXPECT_TRUE(com_->StartRefused);
  EXPECT_EQ(com_->WriteIndex[SignalView], 0);
  com_->StartReadAll();
  EXPECT_TRUE(com_->StartRefused);
  StopAndWait();
  ASSERT_TRUE(Sample(EngineeringView, 1));
  EXPECT_FALSE(com_->StartRefused.exchange(true)) << "a start clears the refusal";
  plans[kStreamRead] = "oooo";  // records out of frame are dropped
  ASSERT_TRUE(Sample(SignalView, 20));
  EXPECT_FALSE(com_->StartRefused);
  EXPECT_EQ(window_.clears, 1);
  ASSERT_GE(window_.batchErase.size(), 4u);
  EXPECT_EQ(std::vector(window_.batchErase.begin(), window_.batchErase.begin() + 3),
            std::vector({false, false, true}));
  for (int32_t i = 0; i < com_->WriteIndex[SignalView]; ++i)
    ASSERT_EQ(com_->Signal().x[i] & 0xF, 0) << "slot " << i;
  window_.batchErase.clear();
  ASSERT_TRUE(Sample(SignalView, 5));
  EXPECT_TRUE(window_.batchErase.at(0));
  for (auto& interval : com_->Signal().interval) interval = 0.0001f;
  com_->ReviewIndex[SignalView] = 0, com_->ReviewCount[SignalView] = 25;
  com_->StartSignal(ActionView);
  ASSERT_TRUE(WaitStopped());
  EXPECT_EQ(std::tuple(window_.points, window_.erased, window_.stops,
                       com_->ReviewCount[SignalView].load()), std::tuple(25, 15, 1, 0));
  // Restarted after a wrap, the trail reaches back across the ring's end.
  for (int32_t s = 0; s < kPlotRingSize; ++s) com_->Signal().x[s] = uint16_t(s);
  com_->WriteIndex[SignalView] = 3, com_->BufferWrapped[SignalView] = true;
  window_.erasedX.clear();
  ASSERT_TRUE(Sample(SignalView, 5));
  EXPECT_EQ(window_.erasedX.at(0), kPlotRingSize - 7);
}

// A moving head: sweeps of 20 restart with a cleared plot, and the limits
// stretch round the positions; manual limits never move.
TEST_F(Acquisition, StrengthSweepsRestartAndFitTheAxisUnlessItIsManual) {
  com_->SetPlotSizes(150, 20, 1.0f);
  ASSERT_TRUE(Sample(StrengthView, 45));
  EXPECT_GE(window_.plotClears, 3);
  // A replot draws the sweep so far: the first sweep's 20 samples, then the
  // restart point and 20 more in each later one.
  const std::vector<int32_t>& drawn = window_.strengthPositions;
  ASSERT_FALSE(window_.replots.empty());
  for (const auto& [before, replotted] : window_.replots) {
    const size_t start = before < 20 ? 0 : 20 + (before - 20) / 21 * 21;
    EXPECT_EQ(replotted, std::vector(drawn.begin() + start, drawn.begin() + before)) << before;
  }
  const int32_t last = window_.strengthPositions.back();
  EXPECT_TRUE(Limits(StrengthPlot).first <= last && last <= Limits(StrengthPlot).second) << last;
  EXPECT_EQ(com_->WriteIndex[StrengthView], int32_t(window_.strengthPositions.size()));
  com_->ManualScale[StrengthPlot] = true;
  com_->PositionAxisMin[StrengthPlot] = 5, com_->PositionAxisMax[StrengthPlot] = 6;
  ASSERT_TRUE(Sample(StrengthView, 45));
  EXPECT_EQ(Limits(StrengthPlot), std::pair(5, 6));
}

// The whole chain: a misaligned head's errors come back from the samples the
// encoder-signal view records, on the emulator's sweeping level (its head
// fast enough to cross much of the sweep) as on a steady one.
TEST_F(Acquisition, PlantedMisalignmentReadsBackFromTheRecordedSignals) {
  const auto plant = [](veritrak::HeadSettings& head) {
    head.sineOffset = 0.03, head.cosineOffset = -0.02, head.gainRatio = 0.95;
    head.phaseError = -2;
  };
  const auto steady = [](veritrak::HeadSettings& head) {
    head.sineOffset = 0.03, head.cosineOffset = -0.02, head.gainRatio = 0.95;
    head.phaseError = -2, head.amplitudeLow = head.amplitudeHigh = 700;
  };
  for (const auto adjust : {+plant, +steady}) {
    TearDown();
    ASSERT_TRUE(Start(1, 0, 100000, 0x0512, adjust));
    ASSERT_TRUE(Sample(SignalView, 3000));
    std::vector<measure::SignalPoint> points;
    for (int32_t i = 0; i < com_->WriteIndex[SignalView]; ++i)
      points.push_back({SignalVolts(com_->Signal().x[i]), SignalVolts(com_->Signal().y[i])});
    const measure::AlignmentFit fit = measure::FitAlignment(points);
    ASSERT_TRUE(std::holds_alternative<measure::AlignmentFigures>(fit));
    const measure::AlignmentFigures& f = std::get<measure::AlignmentFigures>(fit);
    EXPECT_NEAR(f.sineOffset.value, 0.03, 0.001);
    EXPECT_NEAR(f.cosineOffset.value, -0.02, 0.001);
    EXPECT_NEAR(f.amplitudeRatio.value, 95, 0.2);
    EXPECT_NEAR(f.phaseError.value, -2, 0.1);
  }
}

// Whatever a file made of the intervals, a replay stops when asked.
TEST_F(Acquisition, ReplaysOfEndlessIntervalsStopOnRequest) {
  const auto endless = [](auto& ring) { ring.interval.fill(1e6f); };
  endless(com_->Status()), endless(com_->Signal()), endless(com_->Strength());
  endless(com_->Position());
  for (const int view : {StatusView, SignalView, StrengthView, PositionView}) {
    com_->WriteIndex[view] = 5, com_->ReviewIndex[view] = 0, com_->ReviewCount[view] = 5;
    Run(view, ActionView);
    ASSERT_TRUE(ProcessUntil([&] { return com_->ThreadActive[view].load(); })) << view;
    StopAndWait();
  }
}

// The limits 5 % past a position near the ends of the 32-bit range.
TEST(Autoscale, LimitsNearTheIntegerEndsStayInRange) {
  constexpr int32_t top = std::numeric_limits<int32_t>::max(), bottom = -top - 1;
  int32_t max = 0, min = 0;
  FitPosition(top, max, min);
  EXPECT_EQ(std::pair(max, min), std::pair(top, 2040109464));
  FitPosition(bottom, max, min);
  EXPECT_EQ(std::pair(max, min), std::pair(-2040109465, bottom));
  EXPECT_TRUE(StretchPosition(top, max, min) && max == top);
  max = min = 0;
  EXPECT_TRUE(StretchPosition(bottom, max, min) && min == bottom);
}

// Windows of 20 ms: the first sample has no velocity, and each window starts
// with a point, not a jump from the last window's end; every other segment
// leads on from the one drawn before it, though the drawing is handed over
// in batches. Destroying the connection in the middle of the run waits for
// its thread.
TEST_F(Acquisition, PositionWindowsStartWithAPointAndTheConnectionOutlivesItsThread) {
  com_->SetPlotSizes(150, 1000, 0.02f);
  com_->StartPosition(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return window_.windowStarts.size() >= 4; }));
  EXPECT_EQ(com_->Position().velocity[0], 0.0f);
  com_.reset();
  const std::vector<TraceSegment>& drawn = window_.segments;
  for (size_t i = 0; i < drawn.size(); ++i) {
    const TraceSegment& s = drawn[i];
    const bool starts = i == 0 || s.timeNow == s.windowStart;
    ASSERT_EQ(s.positionBefore, starts ? s.positionNow : drawn[i - 1].positionNow) << i;
    if (!starts) {
      ASSERT_NEAR(s.timeBefore, drawn[i - 1].timeNow, 1e-6) << i;
    }
  }
}

// A window that takes no drawing for a while (its thread busy elsewhere)
// holds the thread back once 256 calls wait, rather than letting the queue
// grow; it goes on when the window takes them.
TEST_F(Acquisition, AWindowThatTakesNoDrawingHoldsItsThreadBack) {
  com_->StartPosition(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return com_->WriteIndex[PositionView] > 10; }));
  const int32_t before = com_->WriteIndex[PositionView];
  std::this_thread::sleep_for(std::chrono::seconds(1));  // thousands of samples' time
  EXPECT_LE(com_->WriteIndex[PositionView] - before, 300);
  ASSERT_TRUE(ProcessUntil([&] { return com_->WriteIndex[PositionView] > before + 400; }));
  StopAndWait();
}

// The failure rules at their boundaries: a polled thread forgives a failed
// step unless the step before failed too and nothing went through since
// (the status thread counts each sync and each read, the register survey
// each entry); a streaming thread forgives two failed reads and stops at
// the third; thirteen unanswered syncs fail a step. A stop by failure
// reports exactly one communication failure and records nothing of the
// failed steps.
using FailureCase = std::tuple<int, Call, std::string, bool>;
class Failures : public Acquisition, public testing::WithParamInterface<FailureCase> {};

TEST_P(Failures, StopTheThreadOnlyAtTheLimit) {
  const auto& [view, call, plan, stops] = GetParam();
  call == kCable ? emulator_->PullCable() : void(plans[call] = plan);
  Run(view);
  // Ten good steps come only after every planned call.
  if (!stops) {
    // The binding is captured by name: clang before 16 cannot capture it.
    EXPECT_TRUE(ProcessUntil([&, view = view] { return Progress(view) >= 10; }))
        << "stopped by failures";
    StopAndWait();
  }
  ASSERT_TRUE(WaitStopped(20000)) << "still running";
  EXPECT_EQ(window_.failures, stops && plan.find('s') == std::string::npos ? 1 : 0);
  EXPECT_FALSE(com_->StopRequest);
  EXPECT_TRUE(!stops || Progress(view) == 0) << "a failed step is recorded";
}

const std::string k12(12, 'x'), k13(13, 'x'), k25(25, 'x'), k26(26, 'x'), k17(17, '.');
// Status: failed steps with a sync or read that went through between them
// (position reads, status reads after their syncs, a sync of each step
// answered before the next one failed); 12 + 13 and 13 + 13 syncs in a row;
// a stop that comes with a single failed step, in both polled threads, is
// no failure. Register survey: entry 17 of two passes, then entry 17 of one
// and the first of the next. Streams: an accepted record ends a run of
// failed reads in the signal view even when dropped out of frame, not in
// the others; a stream that cannot start, by a refusal or 13 syncs.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rules, Failures, testing::ValuesIn(std::vector<FailureCase>{
    {StatusView, kPositionRead, "x.x", false}, {StatusView, kPositionRead, "xx", false},
    {StatusView, kRegisterRead, "xx", false}, {StatusView, kSync, "." + k13 + "." + k13, false},
    {StatusView, kSync, k25, false}, {StatusView, kSync, k26, true},
    {StatusView, kSync, "." + k26, true},
    {EngineeringView, kRegisterRead, k17 + "x" + k17 + "x", false},
    {EngineeringView, kRegisterRead, k17 + "xx", true},
    {SignalView, kStreamRead, "xx.xx", false}, {SignalView, kStreamRead, "xxx", true},
    {SignalView, kStreamRead, "xxoxx", false}, {StrengthView, kStreamRead, "xx.xx", false},
    {StrengthView, kStreamRead, "xxox", true}, {PositionView, kStreamRead, "xx.xx", false},
    {PositionView, kStreamRead, "xxox", true}, {SignalView, kStreamStart, "x", true},
    {StrengthView, kSync, k12, false}, {PositionView, kSync, k13, true},
    {StatusView, kCable, "", true}, {PositionView, kCable, "", true},
    {StatusView, kPositionRead, "s", true}, {EngineeringView, kRegisterRead, "s", true}}));
// clang-format on

}  // namespace quillon
