// The acquisition threads against the emulated electronics: live rings,
// stop, wrap, the review window, replay and the failure rules.
#include "emulated_connection.h"

namespace quillon {
namespace {

class Acquisition : public EmulatedConnection {
 protected:
  void SetUp() override { StartIdentified(Quick()); }
  static veritrak::Options Quick() {
    veritrak::Options options;
    options.line.recordRate = 4000;
    return options;
  }
  void StopAndWait() {
    com_->RequestStop();
    ASSERT_TRUE(WaitStopped());
  }
  // Fills the status ring with n samples of the given interval.
  void RecordStatus(int32_t n, float interval) {
    for (int32_t i = 0; i < n; ++i) {
      com_->Status().interval[i] = interval;
      com_->Status().position[i] = i;
    }
    com_->WriteIndex[StatusView] = n;
    com_->ElapsedTime[StatusView] = n * interval;
    com_->ReviewIndex[StatusView] = n - 1;
  }
};

TEST_F(Acquisition, StatusThreadRecordsEverySampleItShows) {
  com_->RequestZero();
  com_->StartStatus(ActionLive);
  EXPECT_TRUE(com_->ThreadRunning);
  ASSERT_TRUE(ProcessUntil([&] { return window_.statusUpdates.size() >= 9; }));
  StopAndWait();
  const int32_t n = com_->WriteIndex[StatusView];
  EXPECT_EQ(n, static_cast<int32_t>(window_.statusUpdates.size()))
      << "a stop takes effect after a complete sample";
  EXPECT_EQ(com_->ReviewIndex[StatusView], n - 1);
  EXPECT_EQ(window_.statusUpdates.front().position, 0) << "the first position is the zero";
  EXPECT_EQ(com_->Status().position[0], 0);
  EXPECT_FALSE(window_.statusUpdates[2].levelReady);
  EXPECT_TRUE(window_.statusUpdates[3].levelReady) << "the level comes every fourth sample";
  EXPECT_GT(window_.statusUpdates[3].level, 0);
  EXPECT_GT(com_->ElapsedTime[StatusView], 0);
  EXPECT_FALSE(com_->ThreadActive[StatusView]);
  EXPECT_EQ(window_.failures, 0);
}

TEST_F(Acquisition, StatusRingWrapsAfterItsLastSlot) {
  com_->WriteIndex[StatusView] = kStatusRingSize - 2;
  com_->StartStatus(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return window_.statusUpdates.size() >= 4; }));
  StopAndWait();
  EXPECT_TRUE(com_->BufferWrapped[StatusView]);
  EXPECT_EQ(com_->WriteIndex[StatusView], static_cast<int32_t>(window_.statusUpdates.size()) - 2);
}

TEST_F(Acquisition, ModelThreePositionsAreQuarterCounts) {
  TearDown();
  veritrak::Options options = Quick();
  options.device.modelCode = 3;
  options.head.startPosition = 40000;
  options.head.speed = 0;
  StartIdentified(options);
  com_->StartStatus(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return !window_.statusUpdates.empty(); }));
  StopAndWait();
  EXPECT_EQ(window_.statusUpdates.front().position, 10000);
}

TEST_F(Acquisition, ReviewRequestsStepTenSecondsBackAndNoFurtherThanRecorded) {
  RecordStatus(500, 0.125f);
  com_->StartStatus(ActionReview);
  // The first slot walked is the unwritten one behind the newest sample.
  EXPECT_EQ(com_->ReviewCount[StatusView], 81);
  EXPECT_EQ(com_->ReviewIndex[StatusView], 500 - 81);
  ASSERT_FALSE(window_.times.empty());
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
}

TEST_F(Acquisition, ReplayPlaysTheWindowThenStopsTheView) {
  RecordStatus(40, 0.001f);
  com_->StartStatus(ActionReview);
  ASSERT_EQ(com_->ReviewCount[StatusView], 40);
  com_->StartStatus(ActionView);
  ASSERT_TRUE(WaitStopped());
  ASSERT_EQ(window_.statusUpdates.size(), 40u);
  EXPECT_TRUE(window_.statusUpdates.front().replay);
  EXPECT_EQ(window_.statusUpdates.front().position, 0) << "the oldest sample comes first";
  EXPECT_EQ(window_.statusUpdates.back().position, 39);
  EXPECT_EQ(window_.stopActions, 1);
  EXPECT_EQ(com_->ReviewCount[StatusView], 0);

  window_.commandBusy = true;
  com_->ReviewExtended = false;
  com_->ReviewIndex[StatusView] = 29;
  com_->ReviewCount[StatusView] = 0;
  com_->StartStatus(ActionReview);
  com_->StartStatus(ActionView);
  ASSERT_TRUE(WaitStopped());
  EXPECT_EQ(window_.stopActions, 1) << "a busy window is not stopped again";
}

TEST_F(Acquisition, NothingToReplayOnlyShowsTheTime) {
  RecordStatus(10, 0.5f);
  com_->StartStatus(ActionView);
  EXPECT_FALSE(com_->ThreadRunning);
  ASSERT_FALSE(window_.times.empty());
  EXPECT_FLOAT_EQ(window_.times.back(), 5.0f);
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
  com_->StartSignal(ActionLive);
  EXPECT_FALSE(com_->StartRefused);
  StopAndWait();
}

TEST_F(Acquisition, LissajousTrailErasesOnceFull) {
  com_->SetPlotSizes(10, 100, 1.0f);
  com_->StartSignal(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return window_.batchErase.size() >= 4; }));
  StopAndWait();
  EXPECT_EQ(window_.lissajousClears, 1);
  EXPECT_FALSE(window_.batchErase[0]);
  EXPECT_FALSE(window_.batchErase[1]);
  EXPECT_TRUE(window_.batchErase[2]) << "from sample 11 on, old points are erased";
  const int32_t n = com_->WriteIndex[SignalView];
  EXPECT_GE(n, 20);
  const SignalRing& ring = com_->Signal();
  for (int32_t i = 0; i < n; ++i) ASSERT_EQ(ring.x[i] & 0xF, 0) << "slot " << i;

  // A restart continues the trail: with more than L recorded, it erases at once.
  window_.batchErase.clear();
  com_->StartSignal(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return !window_.batchErase.empty(); }));
  StopAndWait();
  EXPECT_TRUE(window_.batchErase[0]);
  EXPECT_EQ(window_.failures, 0);
}

TEST_F(Acquisition, LissajousReplayDrawsEachSampleAndErasesPastTheTrail) {
  com_->SetPlotSizes(10, 100, 1.0f);
  com_->StartSignal(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return com_->WriteIndex[SignalView] >= 30; }));
  StopAndWait();
  for (auto& interval : com_->Signal().interval) interval = 0.0001f;
  com_->ReviewIndex[SignalView] = 0;
  com_->ReviewCount[SignalView] = 25;
  com_->StartSignal(ActionView);
  ASSERT_TRUE(WaitStopped());
  EXPECT_EQ(window_.lissajousPoints, 25);
  EXPECT_EQ(window_.lissajousErasedPoints, 15);
  EXPECT_EQ(com_->ReviewCount[SignalView], 0);
  EXPECT_EQ(window_.stopActions, 1);
}

TEST_F(Acquisition, StrengthSweepsRestartAndFitTheAxis) {
  com_->SetPlotSizes(150, 20, 1.0f);
  com_->StartStrength(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return window_.strengthPositions.size() >= 45; }));
  StopAndWait();
  EXPECT_GE(window_.timePlotClears, 3) << "one at start, one per new sweep";
  const int32_t max = com_->PositionAxisMax[StrengthPlot];
  const int32_t min = com_->PositionAxisMin[StrengthPlot];
  EXPECT_LT(min, max);
  const int32_t last = window_.strengthPositions.back();
  EXPECT_GE(last, min);
  EXPECT_LE(last, max);
  EXPECT_EQ(com_->WriteIndex[StrengthView], static_cast<int32_t>(window_.strengthPositions.size()));
  EXPECT_EQ(window_.failures, 0);
}

TEST_F(Acquisition, ManualStrengthLimitsNeverMove) {
  com_->SetPlotSizes(150, 1000, 1.0f);
  com_->ManualScale[StrengthPlot] = true;
  com_->PositionAxisMin[StrengthPlot] = 5;
  com_->PositionAxisMax[StrengthPlot] = 6;
  com_->StartStrength(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return window_.strengthPositions.size() >= 20; }));
  StopAndWait();
  EXPECT_EQ(com_->PositionAxisMin[StrengthPlot], 5);
  EXPECT_EQ(com_->PositionAxisMax[StrengthPlot], 6);
}

TEST_F(Acquisition, PositionTracesStartEachWindowWithAPoint) {
  com_->SetPlotSizes(150, 1000, 0.02f);
  com_->StartPosition(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return window_.timeLabels.size() >= 4; }));
  StopAndWait();
  ASSERT_FALSE(window_.segments.empty());
  EXPECT_EQ(com_->Position().velocity[0], 0.0f) << "the first sample has no velocity";
  const int32_t n = com_->WriteIndex[PositionView];
  EXPECT_EQ(n, static_cast<int32_t>(window_.segments.size()));
  for (int32_t i = 0; i < n; ++i) ASSERT_GE(com_->Position().interval[i], 0.00001f);
  EXPECT_GT(window_.traceReplots + window_.timePlotClears, 0);
  EXPECT_EQ(window_.failures, 0);
}

TEST_F(Acquisition, ReadAllShowsWholePassesOfThirtyTexts) {
  com_->StartReadAll();
  ASSERT_TRUE(ProcessUntil([&] { return window_.registerPasses.size() >= 2; }));
  StopAndWait();
  const QStringList& pass = window_.registerPasses.front();
  ASSERT_EQ(pass.size(), 30);
  EXPECT_EQ(pass[0].size(), 4);
  EXPECT_EQ(pass[26].size(), 8);
  EXPECT_EQ(pass[29].size(), 8);
  EXPECT_EQ(pass[26].mid(5, 1), "5") << "the firmware family digit";
  EXPECT_EQ(pass[26], pass[26].toUpper());
}

// A pulled cable in the middle of a live view ends in exactly one failure.
class PulledCable : public Acquisition, public ::testing::WithParamInterface<int> {};

TEST_P(PulledCable, EndsTheThreadWithOneCommunicationFailure) {
  const int view = GetParam();
  const auto start = [&] {
    switch (view) {
      case StatusView: return com_->StartStatus(ActionLive);
      case SignalView: return com_->StartSignal(ActionLive);
      case StrengthView: return com_->StartStrength(ActionLive);
      case PositionView: return com_->StartPosition(ActionLive);
      default: return com_->StartReadAll();
    }
  };
  com_->SetPlotSizes(50, 100, 1.0f);
  start();
  ASSERT_TRUE(ProcessUntil([&] { return com_->ThreadRunning.load(); }));
  emulator_->PullCable();
  ASSERT_TRUE(WaitStopped(20000));
  EXPECT_EQ(window_.failures, 1);
  EXPECT_FALSE(com_->ThreadRunning);
  EXPECT_FALSE(com_->StopRequest);
}

INSTANTIATE_TEST_SUITE_P(EveryView, PulledCable, ::testing::Values(0, 1, 2, 3, 4));

TEST_F(Acquisition, CorruptedBytesEndTheStatusViewWithOneFailure) {
  emulator_->SetCorruptFraction(0.5);
  com_->StartStatus(ActionLive);
  ASSERT_TRUE(WaitStopped(30000));
  EXPECT_EQ(window_.failures, 1);
}

TEST_F(Acquisition, DestroyingTheConnectionWaitsForItsThread) {
  com_->SetPlotSizes(50, 100, 1.0f);
  com_->StartPosition(ActionLive);
  ASSERT_TRUE(ProcessUntil([&] { return !window_.segments.empty(); }));
  com_.reset();
  SUCCEED() << "no thread is left using the freed connection";
}

}  // namespace
}  // namespace quillon
