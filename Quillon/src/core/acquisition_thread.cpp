#include "acquisition_thread.h"

#include <QTimer>
#include <algorithm>
#include <thread>
#include <utility>

#include "probelink.h"

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
// Debian's Qt is not built for ThreadSanitizer, so the hand-offs through
// Qt's queued connections are declared to it here.
#define HAND_OVER(token) __tsan_release(token)
#define TAKE_OVER(token) __tsan_acquire(token)
#else
#define HAND_OVER(token) (void)(token)
#define TAKE_OVER(token) (void)(token)
#endif

namespace quillon {
namespace {
constexpr int32_t kSyncTimeoutMs = 25;
constexpr int kSyncAttempts = 13;
constexpr int kEndStreamAttempts = 3;
constexpr double kLongestReplayWait = 86400;
constexpr std::chrono::milliseconds kReplayWaitSlice{20};
// The window's display frame: drawing taken more often is not seen sooner.
constexpr int kFrameMs = 30;
// Bounds what waits for the window when it falls behind the line.
constexpr size_t kMostHeldCalls = 256;
}  // namespace

AcquisitionThread::AcquisitionThread(ComData& com, int view, bool replay)
    : com_(com),
      window_(com.Window()),
      view_(view),
      replay_(replay),
      port_(com.Port()),
      frames_(new QTimer(this)) {
  connect(this, &AcquisitionThread::GuiCallRequested, this, &AcquisitionThread::PerformGuiCall,
          Qt::BlockingQueuedConnection);
  frames_->setTimerType(Qt::PreciseTimer);
  frames_->setInterval(kFrameMs);
  connect(frames_, &QTimer::timeout, this, &AcquisitionThread::DrawFrame);
  connect(this, &AcquisitionThread::FramesWanted, frames_, qOverload<>(&QTimer::start),
          Qt::QueuedConnection);
  connect(this, &QThread::finished, this, &AcquisitionThread::OnFinished, Qt::QueuedConnection);
  if (!replay_) ClearRxBuffer(port_);
}

AcquisitionThread::~AcquisitionThread() { wait(); }

void AcquisitionThread::Detach() {
  detached_ = true;
  com_.StopRequest = true;
}

void AcquisitionThread::run() {
  com_.ThreadRunning = true;
  if (view_ >= 0) com_.ThreadActive[view_] = true;
  if (!replay_ && !StartStream()) Fail();
  while (!com_.StopRequest) RunStep();
  DrawHeldCalls();
  HAND_OVER(this);
}

void AcquisitionThread::OnFinished() {
  TAKE_OVER(this);
  frames_->stop();
  if (!detached_) {
    Complete();
    com_.ThreadRunning = false;
    if (view_ >= 0) com_.ThreadActive[view_] = false;
    com_.StopRequest = false;
    if (failed_) window_.CommunicationFailure();
  }
  deleteLater();
}

void AcquisitionThread::OnGui(const std::function<void()>& f) {
  const Calls held = TakeHeldCalls();
  HandOver([&] {
    RunAll(held);
    f();
  });
}

void AcquisitionThread::DrawHeldCalls() {
  const Calls held = TakeHeldCalls();
  if (!held.empty()) HandOver([&] { RunAll(held); });
}

void AcquisitionThread::Draw(std::function<void()> call) {
  if (replay_) {
    OnGui(call);
    return;
  }
  {
    const std::lock_guard lock(heldMutex_);
    held_.push_back(std::move(call));
    if (held_.size() < kMostHeldCalls) {
      if (!std::exchange(framesWanted_, true)) emit FramesWanted();
      return;
    }
  }
  // A line faster than the window draws: the thread hands over itself and
  // waits, rather than wait for the next frame or let the calls pile up.
  DrawHeldCalls();
}

AcquisitionThread::Calls AcquisitionThread::TakeHeldCalls() {
  Calls calls;
  const std::lock_guard lock(heldMutex_);
  calls.swap(held_);
  return calls;
}

// Runs on the window's side, at its frame pace. A hand-over the thread
// makes later is queued behind this, so the drawing keeps its order.
void AcquisitionThread::DrawFrame() {
  const Calls held = TakeHeldCalls();
  if (!detached_) RunAll(held);
}

void AcquisitionThread::RunAll(const Calls& calls) {
  for (const auto& call : calls) call();
}

void AcquisitionThread::HandOver(const std::function<void()>& f) {
  if (detached_) return;
  pendingCall_ = &f;
  HAND_OVER(&pendingCall_);
  emit GuiCallRequested();
  TAKE_OVER(&pendingCall_);
}

void AcquisitionThread::PerformGuiCall() {
  TAKE_OVER(&pendingCall_);
  if (!detached_) (*pendingCall_)();
  HAND_OVER(&pendingCall_);
}

bool AcquisitionThread::SyncLine() {
  int32_t timeout = 0, baud = 0;
  if (GetPortConfig(port_, &timeout, &baud) != 0) return false;
  ConfigPort(port_, kSyncTimeoutMs, baud);
  bool inStep = false;
  for (int attempt = 0; attempt < kSyncAttempts && !inStep; ++attempt) {
    ClearRxBuffer(port_);
    inStep = SendSync(port_) == 0;
  }
  ConfigPort(port_, timeout, baud);
  return inStep;
}

void AcquisitionThread::StepFailed() {
  if (forgivenFailure_)
    Fail();
  else
    forgivenFailure_ = true;
}

void AcquisitionThread::Fail() {
  failed_ = true;
  com_.StopRequest = true;
}

void AcquisitionThread::EndStream(int32_t n) {
  for (int attempt = 0; attempt < kEndStreamAttempts; ++attempt) {
    EndAsync(port_, n);
    ClearRxBuffer(port_);
    if (SyncLine() && ReadStatus(port_) >= 0) return;
  }
}

void AcquisitionThread::BusyWaitMs(double ms) {
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

void AcquisitionThread::ReplayWait(double seconds) const {
  // A day bounds the conversion to clock ticks; a stop comes long before.
  const double bounded = std::clamp(seconds, 0.0, kLongestReplayWait);
  const auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(bounded));
  for (auto now = Clock::now(); now < until && !Stopping(); now = Clock::now())
    std::this_thread::sleep_for(std::min<Clock::duration>(until - now, kReplayWaitSlice));
}

double AcquisitionThread::SecondsSince(Clock::time_point& previous) {
  const auto now = Clock::now();
  const double seconds = std::chrono::duration<double>(now - previous).count();
  previous = now;
  return seconds;
}

}  // namespace quillon
