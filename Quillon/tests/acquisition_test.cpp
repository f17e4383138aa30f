// The acquisition threads against the emulated electronics: live rings,
// positions, stop, wrap, the review window, replay and the failure rules.
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <mutex>
#include <string>
#include <utility>

#include "emulated_connection.h"
#include "signal_words.h"

namespace quillon {
namespace {

// The line calls the threads make are wrapped at link time (see the test
// CMakeLists), so that a test decides which of them fail: one character of a
// call's plan per call, 'x' fails it, 'o' hands over a stream record read out
// of frame, '.' lets it pass. A failed call never reaches the line.
enum Call { kSync, kRegisterRead, kPositionRead, kStreamStart, kStreamRead, kCable };
std::mutex planMutex;
std::string plans[kCable];

char Outcome(Call call) {
  const std::lock_guard lock(planMutex);
  const char outcome = plans[call].empty() ? '.' : plans[call].front();
  if (!plans[call].empty()) plans[call].erase(0, 1);
  return outcome;
}
bool Planned(Call call) {
  const std::lock_guard lock(planMutex);
  return !plans[call].empty();
}

}  // namespace

#define SCRIPTED(call, name, params, args) \
  int32_t __real_##name params;            \
  int32_t __wrap_##name params { return Outcome(call) == 'x' ? -1 : __real_##name args; }
extern "C" {
SCRIPTED(kSync, SendSync, (int32_t port), (port))
SCRIPTED(kRegisterRead, ReadRegisterWren, (int32_t port, uint32_t w, uint16_t* v), (port, w, v))
SCRIPTED(kPositionRead, ReadShiftedPositionWren, (int32_t port, int32_t* p), (port, p))
SCRIPTED(kStreamStart, BeginAsyncWren, (int32_t port, int32_t n, const uint8_t* r), (port, n, r))
int32_t __real_ReadAsyncWren(int32_t port, int32_t n, uint16_t* values);
int32_t __wrap_ReadAsyncWren(int32_t port, int32_t n, uint16_t* values) {
  const char outcome = Outcome(kStreamRead);
  const int32_t result = outcome == 'x' ? -1 : __real_ReadAsyncWren(port, n, values);
  if (outcome == 'o') std::fill_n(values, n, 0xFFFF);
  return result;
}
}

namespace {

class Acquisition : public EmulatedConnection {
 protected:
  void SetUp() override { StartIdentified(); }
  void TearDown() override {
    EmulatedConnection::TearDown();
    const std::lock_guard lock(planMutex);
    for (std::string& plan : plans) plan.clear();
  }
  void Run(int view, int action = ActionLive) {
    switch (view) {
      case StatusView:
        return com_->StartStatus(action);
      case SignalView:
        return com_->StartSignal(action);
      case StrengthView:
        return com_->StartStrength(action);
      case PositionView:
        return com_->StartPosition(action);
      default:
        return com_->StartReadAll();
    }
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
  template <class Condition>
  void Sample(int view, int32_t n, Condition done) {
    const int32_t until = Progress(view) + n;
    Run(view);
    EXPECT_TRUE(com_->ThreadRunning) << "set by the start, before the thread gets going";
    ASSERT_TRUE(ProcessUntil([&] { return n > 0 ? Progress(view) >= until : done(); }));
    StopAndWait();
  }
  void Sample(int view, int32_t n) {
    Sample(view, n, [] { return true; });
  }
  // n recorded status samples of the given interval; position i in slot i.
  void RecordStatus(int32_t n, float interval) {
    for (int32_t i = 0; i < n; ++i) com_->Status().interval[i] = interval;
    for (int32_t i = 0; i < n; ++i) com_->Status().position[i] = i;
    com_->WriteIndex[StatusView] = n;
    com_->ElapsedTime[StatusView] = n * interval;
    com_->ReviewIndex[StatusView] = n - 1;
  }
};

// Started four slots before the ring's end, so that it wraps.
TEST_F(Acquisition, StatusThreadRecordsAndShowsEverySampleWithALevelEveryFourth) {
  const int32_t first = kStatusRingSize - 4;
  com_->WriteIndex[StatusView] = first;
  com_->RequestZero();
  Sample(StatusView, 0, [&] { return window_.statusUpdates.size() >= 9; });
  const std::vector<StatusUpdate>& shown = window_.statusUpdates;
  const int32_t n = com_->WriteIndex[StatusView];
  EXPECT_EQ(n, int32_t(shown.size()) - 4) << "a stop takes effect after a complete sample";
  EXPECT_TRUE(com_->BufferWrapped[StatusView]);
  EXPECT_EQ(com_->ReviewIndex[StatusView], n - 1);
  EXPECT_EQ(shown[0].position, 0) << "the first position is the zero";
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
  EXPECT_FALSE(com_->ThreadActive[StatusView]);
}

// A head standing still: its counter joined from three registers as a 30-bit
// signed value, a quarter of it in the views that count quarters, less the
// zero offset (set, taken by the status view's zero request, or captured by
// the zeroing command), in what is recorded, shown and saved.
TEST_F(Acquisition, EveryViewRecordsSignedThirtyBitPositionsLessTheZeroOffset) {
  struct Case {
    uint16_t model;
    int32_t head;
    char zeroing;  // '-' none, 's' set, 'r' requested, 'c' captured
    int32_t offset, status, strength, position;
  };
  // clang-format off
  const Case cases[] = {{1, -300000003, '-', 0, -300000003, -300000003, -300000003},
                        {3, -40003, 's', 1000, -11000, -11000, -41003},
                        {4, 300000001, 's', -2500, 300002501, 75002500, 300002501},
                        {3, -40003, 'r', -10000, 0, 0, -30003},
                        {1, 123457, 'c', 123457, 0, 0, 0}};
  // clang-format on
  const auto limits = [&](int plot) {
    return std::pair(com_->PositionAxisMin[plot].load(), com_->PositionAxisMax[plot].load());
  };
  const auto fitted = [](int32_t p) {  // the axis limits a rescale puts round p
    const int32_t a = int32_t(p + 0.05 * p), b = int32_t(p - 0.05 * p);
    return p == 0 ? std::pair(-1, 1) : std::pair(std::min(a, b), std::max(a, b));
  };
  QTemporaryDir dir;
  const auto oldestSaved = [&](bool saved) {
    QFile file(dir.filePath("f"));
    const QByteArray row = saved && file.open(QFile::ReadOnly) ? file.readAll().split('\n')[5] : "";
    return row.left(row.indexOf('\t')).toStdString();
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "model " << c.model << " head " << c.head << c.zeroing);
    TearDown();
    window_ = RecordingWindow();
    window_.modelCode = c.model;
    StartIdentified(Emulated(c.model, c.head, 0));
    if (c.zeroing == 's') com_->ZeroOffset = c.offset;
    if (c.zeroing == 'r') com_->RequestZero();
    if (c.zeroing == 'c') com_->CaptureZeroOffset();
    for (const int view : {StatusView, StrengthView, PositionView, EngineeringView})
      Sample(view, 2);
    EXPECT_EQ(com_->ZeroOffset, c.offset);
    EXPECT_EQ(window_.statusUpdates.at(1).position, c.status);
    EXPECT_EQ(window_.strengthPositions.at(1), c.strength);
    EXPECT_EQ(window_.segments.at(1).positionNow, c.position);
    EXPECT_EQ(oldestSaved(com_->SaveStatusData(dir.filePath("f"), "", 1, 1)),
              std::to_string(c.status));
    EXPECT_EQ(oldestSaved(com_->SaveStrengthData(dir.filePath("f"), "", 1, 1)),
              std::to_string(c.strength));
    EXPECT_EQ(oldestSaved(com_->SavePositionData(dir.filePath("f"), "", 1, 1)),
              std::to_string(c.position));
    EXPECT_EQ(limits(StrengthPlot), fitted(c.strength));
    EXPECT_EQ(limits(PositionPlot), fitted(c.position));
    EXPECT_TRUE(com_->VelocityAxisMin == -0.01f && com_->VelocityAxisMax == 0.01f);
    EXPECT_EQ(com_->Position().velocity[1], 0.0f);
    // The register survey shows the counter itself, neither divided nor zeroed.
    const QStringList& pass = window_.registerPasses.at(0);
    ASSERT_EQ(pass.size(), 30);
    EXPECT_EQ(pass[29], QString::asprintf("%08X", uint32_t(c.head)));
    EXPECT_TRUE(pass[0].size() == 4 && pass[26].size() == 8 && pass[26][5] == '5') << "family 5";
  }
}

TEST_F(Acquisition, ReviewRequestsStepTenSecondsBackAndReplayPlaysTheWindow) {
  RecordStatus(10, 0.5f);
  com_->StartStatus(ActionView);
  EXPECT_FALSE(com_->ThreadRunning) << "nothing to replay only shows the time";
  EXPECT_FLOAT_EQ(window_.times.at(0), 5.0f);
  RecordStatus(500, 0.125f);
  com_->StartStatus(ActionReview);
  // The first slot walked is the unwritten one behind the newest sample.
  EXPECT_EQ(com_->ReviewCount[StatusView], 81);
  EXPECT_EQ(com_->ReviewIndex[StatusView], 500 - 81);
  EXPECT_FLOAT_EQ(window_.times.back(), 52.5f);
  com_->StartStatus(ActionReview);
  EXPECT_EQ(com_->ReviewCount[StatusView], 81) << "extended once until Back or View";
  com_->ReviewExtended = false;
  com_->StartStatus(ActionReview);
  EXPECT_EQ(com_->ReviewCount[StatusView], 161);
  EXPECT_FLOAT_EQ(window_.times.back(), 42.5f);
  com_->ReviewCount[StatusView] = 500;
  com_->ReviewExtended = false;
  const size_t shown = window_.times.size();
  com_->StartStatus(ActionReview);
  EXPECT_EQ(com_->ReviewCount[StatusView], 500) << "all usable samples are in the window";
  EXPECT_EQ(window_.times.size(), shown) << "and nothing new is shown";

  RecordStatus(40, 0.001f);
  com_->ReviewCount[StatusView] = 0;
  com_->ReviewExtended = false;
  com_->StartStatus(ActionReview);
  ASSERT_EQ(com_->ReviewCount[StatusView], 40);
  com_->StartStatus(ActionView);
  ASSERT_TRUE(WaitStopped());
  ASSERT_EQ(window_.statusUpdates.size(), 40u);
  EXPECT_TRUE(window_.statusUpdates[0].replay);
  EXPECT_EQ(window_.statusUpdates[0].position, 0) << "the oldest sample comes first";
  EXPECT_EQ(window_.statusUpdates[39].position, 39);
  EXPECT_EQ(window_.stopActions, 1) << "a finished replay stops the view";
  EXPECT_EQ(com_->ReviewCount[StatusView], 0);
  window_.commandBusy = true;
  com_->ReviewExtended = false;
  com_->ReviewIndex[StatusView] = 29;
  com_->StartStatus(ActionReview);
  com_->StartStatus(ActionView);
  ASSERT_TRUE(WaitStopped());
  EXPECT_EQ(window_.stopActions, 1) << "unless the window is busy";
}

TEST_F(Acquisition, AStartWhileAnotherThreadRunsIsRefused) {
  com_->StartStatus(ActionLive);
  com_->ClearPending[SignalView] = true;
  com_->WriteIndex[SignalView] = 77;
  com_->StartSignal(ActionLive);
  EXPECT_TRUE(com_->StartRefused);
  EXPECT_EQ(com_->WriteIndex[SignalView], 0) << "a plotted view empties its ring first";
  com_->StartReadAll();
  EXPECT_TRUE(com_->StartRefused);
  StopAndWait();
  Sample(SignalView, 1);
  EXPECT_FALSE(com_->StartRefused);
}

TEST_F(Acquisition, LissajousTrailErasesOnceFullAndItsReplayPastTheTrail) {
  com_->SetPlotSizes(10, 100, 1.0f);
  Sample(SignalView, 20);
  EXPECT_EQ(window_.lissajousClears, 1);
  ASSERT_GE(window_.batchErase.size(), 4u);
  EXPECT_FALSE(window_.batchErase[0] || window_.batchErase[1]);
  EXPECT_TRUE(window_.batchErase[2]) << "from sample 11 on, old points are erased";
  for (int32_t i = 0; i < com_->WriteIndex[SignalView]; ++i)
    ASSERT_EQ(com_->Signal().x[i] & 0xF, 0) << "slot " << i;
  // A restart continues the trail: with more than L recorded, it erases at once.
  window_.batchErase.clear();
  Sample(SignalView, 5);
  EXPECT_TRUE(window_.batchErase.at(0));
  for (auto& interval : com_->Signal().interval) interval = 0.0001f;
  com_->ReviewIndex[SignalView] = 0;
  com_->ReviewCount[SignalView] = 25;
  com_->StartSignal(ActionView);
  ASSERT_TRUE(WaitStopped());
  EXPECT_TRUE(window_.points == 25 && window_.erasedPoints == 15) << window_.erasedPoints;
  EXPECT_EQ(com_->ReviewCount[SignalView], 0);
  EXPECT_EQ(window_.stopActions, 1);
}

TEST_F(Acquisition, StrengthSweepsRestartAndFitTheAxisUnlessItIsManual) {
  com_->SetPlotSizes(150, 20, 1.0f);
  Sample(StrengthView, 45);
  EXPECT_GE(window_.plotClears, 3) << "one at start, one per new sweep";
  const int32_t min = com_->PositionAxisMin[StrengthPlot],
                max = com_->PositionAxisMax[StrengthPlot];
  EXPECT_LT(min, max);
  EXPECT_TRUE(window_.strengthPositions.back() >= min && window_.strengthPositions.back() <= max);
  EXPECT_EQ(com_->WriteIndex[StrengthView], int32_t(window_.strengthPositions.size()));
  com_->ManualScale[StrengthPlot] = true;
  com_->PositionAxisMin[StrengthPlot] = 5;
  com_->PositionAxisMax[StrengthPlot] = 6;
  Sample(StrengthView, 45);
  EXPECT_TRUE(com_->PositionAxisMin[StrengthPlot] == 5 && com_->PositionAxisMax[StrengthPlot] == 6);
}

TEST_F(Acquisition, PositionTracesStartEachWindowWithAPoint) {
  com_->SetPlotSizes(150, 1000, 0.02f);
  Sample(PositionView, 0, [&] { return window_.windowStarts.size() >= 4; });
  EXPECT_EQ(com_->Position().velocity[0], 0.0f) << "the first sample has no velocity";
  const int32_t n = com_->WriteIndex[PositionView];
  EXPECT_EQ(n, int32_t(window_.segments.size()));
  for (int32_t i = 0; i < n; ++i) ASSERT_GE(com_->Position().interval[i], 0.00001f);
  for (const TraceSegment& s : window_.segments) {
    if (&s == &window_.segments[0] || s.timeNow == s.windowStart) {
      ASSERT_EQ(s.positionBefore, s.positionNow) << "not a jump from the last window's end";
    }
  }
}

TEST_F(Acquisition, DestroyingTheConnectionWaitsForItsThread) {
  com_->StartPosition(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return !window_.segments.empty(); }));
  com_.reset();
  SUCCEED() << "no thread is left using the freed connection";
}

// The failure rules at their boundaries: a polled thread forgives one failed
// step and stops at the second in a row; a streaming thread forgives two
// failed reads and stops at the third; thirteen unanswered syncs fail a step.
// A stop by failure reports exactly one communication failure and records
// nothing of the failed steps.
using FailureCase = std::tuple<int, Call, std::string, bool>;
class Failures : public Acquisition, public testing::WithParamInterface<FailureCase> {};

TEST_P(Failures, StopTheThreadOnlyAtTheLimit) {
  const auto& [view, call, plan, stops] = GetParam();
  com_->SetPlotSizes(50, 100, 1.0f);
  if (call != kCable) plans[call] = plan;
  Run(view);
  if (call == kCable) {
    ASSERT_TRUE(ProcessUntil([&] { return Progress(view) > 0; }));
    emulator_->PullCable();
  }
  if (!stops) {
    ASSERT_TRUE(ProcessUntil([&] { return !Planned(call) && Progress(view) >= 10; }));
    EXPECT_TRUE(com_->ThreadRunning) << "stopped by failures it should forgive";
    StopAndWait();
  }
  ASSERT_TRUE(WaitStopped(20000)) << "still running";
  EXPECT_EQ(window_.failures, stops ? 1 : 0);
  EXPECT_FALSE(com_->StopRequest);
  EXPECT_TRUE(!stops || call == kCable || Progress(view) == 0) << "a failed step is recorded";
}

const std::string k12(12, 'x'), k13(13, 'x'), k25(25, 'x'), k26(26, 'x');
// Status: a failed step in between, two steps in a row (failing at their y
// and model reads), 12 + 13 and 13 + 13 syncs. Register survey: entry 17 of
// one pass, then the first of the next. Streams: an accepted record ends a
// run of failed reads in the signal view even when dropped out of frame,
// not in the others; a stream that cannot start, by a refusal or 13 syncs.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Rules, Failures, testing::Values(
    FailureCase{StatusView, kPositionRead, "x.x", false}, FailureCase{StatusView, kPositionRead, "xx", true},
    FailureCase{StatusView, kRegisterRead, "..x...x", true},
    FailureCase{StatusView, kSync, k25, false}, FailureCase{StatusView, kSync, k26, true},
    FailureCase{EngineeringView, kRegisterRead, std::string(17, '.') + "x", false},
    FailureCase{EngineeringView, kRegisterRead, std::string(17, '.') + "xx", true},
    FailureCase{SignalView, kStreamRead, "xx.xx", false}, FailureCase{SignalView, kStreamRead, "xxx", true},
    FailureCase{SignalView, kStreamRead, "xxoxx", false},
    FailureCase{StrengthView, kStreamRead, "xx.xx", false}, FailureCase{StrengthView, kStreamRead, "xxox", true},
    FailureCase{PositionView, kStreamRead, "xx.xx", false}, FailureCase{PositionView, kStreamRead, "xxox", true},
    FailureCase{SignalView, kStreamStart, "x", true},
    FailureCase{StrengthView, kSync, k12, false}, FailureCase{PositionView, kSync, k13, true},
    FailureCase{StatusView, kCable, "", true}, FailureCase{SignalView, kCable, "", true},
    FailureCase{StrengthView, kCable, "", true}, FailureCase{PositionView, kCable, "", true},
    FailureCase{EngineeringView, kCable, "", true}));
// clang-format on

}  // namespace
}  // namespace quillon
