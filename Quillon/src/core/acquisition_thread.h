// What every acquisition thread shares: the run outline, the line
// synchronisation at a 25 ms time-out, the failure rule, synchronised calls
// into the window, and the completion handler on the GUI thread.
#pragma once

#include <QThread>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

#include "com_data.h"

class QTimer;

namespace quillon {

class AcquisitionThread : public QThread {
  Q_OBJECT

 public:
  // Runs on the GUI thread. view is -1 for the register survey.
  AcquisitionThread(ComData& com, int view, bool replay);
  ~AcquisitionThread() override;

  // Cuts the thread loose from its connection: it stops after its step,
  // skips its window calls and leaves the connection alone at completion.
  void Detach();
  bool IsSurvey() const { return view_ < 0; }

 signals:
  void GuiCallRequested();
  void FramesWanted();

 protected:
  using Clock = std::chrono::steady_clock;

  // Live streaming threads start their stream here; false ends the run failed.
  virtual bool StartStream() { return true; }
  virtual void RunStep() = 0;
  // The thread's own part of the completion, on the GUI thread, before the
  // shared flags fall.
  virtual void Complete() {}

  // Lone sync bytes at a 25 ms time-out until the electronics answer, the
  // receive queue cleared before each attempt; the time-out is restored.
  bool SyncLine();
  // Runs f on the GUI thread while this thread waits; what Draw holds
  // back runs first.
  void OnGui(const std::function<void()>& f);
  // A live view's drawing goes to the window a display frame at a time: the
  // calls are held back, and the window takes them at each frame and runs
  // them in the order they were made; what is left runs before the thread
  // ends. The thread goes on reading meanwhile; once many are held it hands
  // them over itself and waits for the window, so a slow window slows it.
  // A replay draws at once, at its own pace. A held call must own what it
  // draws: the thread goes on and changes its own state.
  void Draw(std::function<void()> call);
  // The rule of the polled threads: a failed step is forgiven unless the
  // step before it failed and no exchange has gone through since. Every
  // exchange that goes through, even within a step that then fails, ends
  // the run of failures.
  void StepFailed();
  void ExchangeWentThrough() { forgivenFailure_ = false; }
  void Fail();
  bool Stopping() const { return com_.StopRequest; }
  // Ends the stream of n values and brings the line back in step (up to 3 tries).
  void EndStream(int32_t n);
  static void BusyWaitMs(double ms);
  // The replay pacing. The recorded intervals may come from any file, so the
  // wait ends early, within a slice, when the thread is asked to stop.
  void ReplayWait(double seconds) const;
  static double SecondsSince(Clock::time_point& previous);

  ComData& com_;
  WindowLink& window_;
  const int view_;
  const bool replay_;
  const int32_t port_;
  bool failed_ = false;  // reported as a communication failure at the end

 private slots:
  void PerformGuiCall();
  void OnFinished();
  void DrawFrame();

 private:
  using Calls = std::vector<std::function<void()>>;

  void run() final;
  Calls TakeHeldCalls();
  void DrawHeldCalls();
  static void RunAll(const Calls& calls);
  void HandOver(const std::function<void()>& f);

  bool forgivenFailure_ = false;
  std::mutex heldMutex_;
  Calls held_;
  bool framesWanted_ = false;
  QTimer* frames_;  // the window's side: takes held drawing once a frame
  const std::function<void()>* pendingCall_ = nullptr;
  std::atomic<bool> detached_{false};
};

}  // namespace quillon
