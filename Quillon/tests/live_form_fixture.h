// The main window live against the emulated electronics on COM1, with the
// steps the view and command tests share: waiting for a request, for a
// view's acquisition to run, and reading what reached the wire.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <functional>
#include <vector>

#include "main_form_fixture.h"

namespace quillon {

inline const QString kPlotLiveTitle =
    QStringLiteral("Norvale Systems Veritrak II Software  - Displaying Live Data");
inline const QString kPlotStoppedTitle =
    QStringLiteral("Norvale Systems Veritrak II Software - Display Stopped");
inline const QString kViewingTitle =
    QStringLiteral("Norvale Systems Veritrak II Software - Viewing Buffered Data");

class LiveFormTest : public MainFormTest {
 protected:
  // As QTest::qWaitFor, but the event loop runs all the while instead of
  // resting 10 ms between rounds: a thread's synchronised calls are served
  // at once and the acquisition keeps its own pace.
  static bool Eventually(const std::function<bool()>& condition, int limitMs = kLongWaitMs) {
    if (condition()) return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (condition()) loop.quit();
    });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    poll.start(5);
    loop.exec();
    return condition();
  }

  void StartLive(const veritrak::Options& options = {}) {
    StartEmulator(1, options);
    StartProgram();
    QObject::connect(form_.get(), &TMainForm::RequestDone, [this](int code) { done_ << code; });
    ASSERT_TRUE(WaitForLivePositions());
    wordsSeen_ = emulator_->WrittenWords().size();
  }

  // The request posted by the last action has been carried out, now or
  // before the test came to wait for it; requests done before it are passed.
  void Finish(int code) {
    ASSERT_TRUE(Eventually([&] { return done_.contains(code); })) << "request " << code;
    done_.remove(0, done_.indexOf(code) + 1);
  }

  // The view's own acquisition runs and nothing else holds the line.
  bool WaitLive(int view) {
    return Eventually(
        [&] {
          ComData& c = *form_->Connection;
          for (int other = StatusView; other <= PositionView; ++other)
            if (other != view && c.ThreadActive[other]) return false;
          return view == EngineeringView ? c.ThreadRunning.load() : c.ThreadActive[view].load();
        },
        kLongWaitMs);
  }

  bool WaitUnlocked() {
    return Eventually([&] { return form_->Lissajous1->isEnabled(); }, kLongWaitMs);
  }

  // The words the electronics accepted since the last call.
  std::vector<uint32_t> NewWords() {
    const std::vector<uint32_t> all = emulator_->WrittenWords();
    const std::vector<uint32_t> fresh(all.begin() + static_cast<std::ptrdiff_t>(wordsSeen_),
                                      all.end());
    wordsSeen_ = all.size();
    return fresh;
  }

  // Waits until the view has recorded `samples` more samples.
  bool WaitRecorded(int view, int32_t samples) {
    const int32_t from = form_->Connection->WriteIndex[view];
    return Eventually([&] { return form_->Connection->WriteIndex[view] - from >= samples; },
                      kLongWaitMs);
  }

 private:
  QList<int> done_;
  size_t wordsSeen_ = 0;
};

}  // namespace quillon
