// The start operations of the four plotted views and of the register
// survey, with the review window they share.
#include "com_data.h"
#include "lissajous_thread.h"
#include "main_thread.h"
#include "position_thread.h"
#include "read_all_thread.h"
#include "signal_strength_thread.h"

namespace quillon {
namespace {
constexpr float kReviewStepSeconds = 10.0f;
}  // namespace

void ComData::StartStatus(int action) { StartView<MainThread>(StatusView, action, mainThread_); }
void ComData::StartSignal(int action) {
  StartView<LissajousThread>(SignalView, action, lissajousThread_);
}
void ComData::StartStrength(int action) {
  StartView<SignalStrengthThread>(StrengthView, action, strengthThread_);
}
void ComData::StartPosition(int action) {
  StartView<PositionThread>(PositionView, action, positionThread_);
}

void ComData::StartReadAll() {
  if (ThreadRunning) {
    StartRefused = true;
    return;
  }
  StartRefused = false;
  Launch(new ReadAllThread(*this), readAllThread_);
}

template <class Thread>
void ComData::StartView(int view, int action, QPointer<AcquisitionThread>& slot) {
  switch (action) {
    case ActionStop: {
      StopRequest = true;
      int32_t slot = 0;
      window_.ShowTime(ReviewWindowStart(view, slot));
      return;
    }
    case ActionLive:
      if (!ViewStartAllowed(view)) return;
      ReviewCount[view] = 0;
      Launch(new Thread(*this, false), slot);
      return;
    case ActionReview:
      ExtendReviewWindow(view);
      return;
    case ActionView:
      if (ThreadActive[view]) return;
      if (ThreadRunning) {
        StartRefused = true;
      } else if (WriteIndex[view] - 1 == ReviewIndex[view]) {
        window_.ShowTime(ElapsedTime[view]);
      } else {
        Launch(new Thread(*this, true), slot);
      }
      return;
  }
}

// The status view refuses a start before it looks at a pending clear; the
// plotted views empty their ring first.
bool ComData::ViewStartAllowed(int view) {
  if (ThreadActive[view]) return false;
  const auto clearIfPending = [&] {
    if (ClearPending[view].exchange(false)) {
      WriteIndex[view] = 0;
      ElapsedTime[view] = 0;
    }
  };
  if (view != StatusView) clearIfPending();
  if (ThreadRunning) {
    StartRefused = true;
    return false;
  }
  StartRefused = false;
  if (view == StatusView) clearIfPending();
  return true;
}

void ComData::Launch(AcquisitionThread* thread, QPointer<AcquisitionThread>& slot) {
  // The stop flag falls here rather than in the new thread, so that a stop
  // asked for before the thread gets going is not lost.
  StopRequest = false;
  // The survey runs at normal priority so that the window stays lively.
  thread->start(thread->IsSurvey() ? QThread::NormalPriority : QThread::HighestPriority);
  ThreadRunning = true;
  slot = thread;
}

float ComData::IntervalAt(int view, int32_t slot) const {
  switch (view) {
    case StatusView: return Status().interval[slot];
    case SignalView: return Signal().interval[slot];
    case StrengthView: return Strength().interval[slot];
    default: return Position().interval[slot];
  }
}

// The recorded time at the start of the review window, walking back from
// the write slot; slot receives where the walk stopped.
float ComData::ReviewWindowStart(int view, int32_t& slot) const {
  const int32_t size = RingSize(view);
  float t = ElapsedTime[view];
  slot = WriteIndex[view];
  for (int32_t i = 0; i < ReviewCount[view]; ++i) {
    t -= IntervalAt(view, slot);
    slot = (slot - 1 + size) % size;
  }
  return t;
}

void ComData::ExtendReviewWindow(int view) {
  const int32_t size = RingSize(view);
  int32_t slot = 0;
  float t = ReviewWindowStart(view, slot);
  if (!ReviewExtended) {
    ReviewFill[view] = BufferWrapped[view] ? size - 1 : WriteIndex[view].load();
    // A window that already holds every usable sample stays as it is.
    if (ReviewFill[view] == ReviewCount[view]) return;
    const float before = t;
    for (int32_t walked = 0; walked < ReviewFill[view];) {
      t -= IntervalAt(view, slot);
      slot = (slot - 1 + size) % size;
      ++ReviewCount[view];
      ReviewIndex[view] = slot;
      ++walked;
      if (before - t >= kReviewStepSeconds || ReviewCount[view] >= ReviewFill[view]) break;
    }
  }
  ReviewExtended = true;
  ReviewTime[view] = t;
  window_.ShowTime(t);
}

}  // namespace quillon
