// The main window against the emulated electronics, driven as a person drives
// it: keys to the window, clicks through the window system and the menus.
// Its questions are answered by the test (the boxes themselves are covered
// once in questions_test), its installation directory and system settings
// are temporary folders, and every COM port points into the test's own port
// folder, so that the search never opens a real serial device.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "canvas_widgets.h"
#include "main_form.h"
#include "probelink.h"
#include "questions.h"
#include "startup.h"
#include "temp_config_home.h"
#include "veritrak/emulator.h"

// Texts in failure messages as they read.
inline std::ostream& operator<<(std::ostream& out, const QString& text) {
  return out << text.toStdString();
}

namespace quillon {

// Answers each box and file dialog with the test's handlers and keeps what
// was asked. A box nobody expected, an answer the box does not offer (which
// would bring it back for ever) and a box asked without end (a window that
// cannot get out of its failure) fail the test, and the box is answered with
// its way out, so that the test ends within its own bounds.
class ScriptedQuestions : public Questions {
 public:
  static constexpr int kMostQuestions = 40;
  std::function<Answer(const Question&)> handler;
  std::function<QString(const FileQuestion&)> fileHandler;
  QList<Question> asked;

  Answer Ask(const Question& question) override {
    asked.append(question);
    if (asked.size() > kMostQuestions) {
      if (asked.size() == kMostQuestions + 1)
        ADD_FAILURE() << "boxes without end: " << question.text.toStdString();
      return WayOut(question);
    }
    if (!handler) {
      ADD_FAILURE() << "unexpected question: " << question.text.toStdString();
      return WayOut(question);
    }
    const Answer answer = handler(question);
    if (question.answers.contains(answer)) return answer;
    ADD_FAILURE() << "an answer the box does not offer: " << question.text.toStdString();
    return WayOut(question);
  }
  QString AskFileName(const FileQuestion& question) override {
    if (fileHandler) return fileHandler(question);
    ADD_FAILURE() << "unexpected file dialog: " << question.title.toStdString();
    return {};
  }
  // The answer that leaves the electronics alone: Cancel, else Ignore (demo
  // mode after a failed search), else No (demo mode after a failure, or the
  // window left open), else the last.
  static Answer WayOut(const Question& question) {
    for (Answer answer : {Answer::Cancel, Answer::Ignore, Answer::No})
      if (question.answers.contains(answer)) return answer;
    return question.answers.last();
  }
  int Count(const QString& prefix) const {
    int n = 0;
    for (const Question& question : asked) n += question.text.startsWith(prefix);
    return n;
  }
};

inline const QString kCannotDetectStart = QStringLiteral("Cannot Detect Veritrak II Electronics.");
inline const QString kFailureStart =
    QStringLiteral("Error communicating with Veritrak II Electronics.");
inline const QString kLiveTitle =
    QStringLiteral("Norvale Systems Veritrak II Software - Displaying Live Data");
inline const QString kPlotLiveTitle =
    QStringLiteral("Norvale Systems Veritrak II Software  - Displaying Live Data");
inline const QString kDemoTitle = QStringLiteral("Norvale Systems Veritrak Software - Demo Mode");

// Answers the modal dialogs the window shows, in turn, as a person would:
// each step gets the dialog once it is on screen.
class DialogSteps : public QObject {
 public:
  DialogSteps() { qApp->installEventFilter(this); }
  ~DialogSteps() override { EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps left"; }
  void Then(std::function<void(QDialog&)> step) { steps_.push_back(std::move(step)); }
  int shown = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (event->type() != QEvent::Show || !dialog || !dialog->isModal() || steps_.empty())
      return false;
    ++shown;
    QTimer::singleShot(0, dialog, [this, dialog] {
      const auto step = std::move(steps_.front());
      steps_.pop_front();
      step(*dialog);
    });
    return false;
  }

 private:
  std::deque<std::function<void(QDialog&)>> steps_;
};

class MainFormTest : public ::testing::Test {
 protected:
  static constexpr int kPorts = 16;
  static constexpr int kLongWaitMs = 20000;

  void SetUp() override {
    ASSERT_TRUE(installDir_.isValid() && systemDir_.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, systemDir_.path());
    QSettings system(QSettings::IniFormat, QSettings::SystemScope, "Software", "Quillon");
    system.setValue("Install Directory", installDir_.path());
    system.sync();
    for (int com = 1; com <= kPorts; ++com) UnplugPort(com);
  }

  void TearDown() override {
    // A shutdown told the application to quit, which ends every event loop
    // at once until the application's own loop has run: let it run, so the
    // next test of this process has working dialogs.
    if (form_ && form_->Closing) {
      QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
      QCoreApplication::exec();
    }
    splash_.reset();
    form_.reset();
    for (int com = 1; com <= kPorts; ++com) ClosePort(com);
  }

  // A COM port with nothing behind it: its link points nowhere.
  void UnplugPort(int com) {
    home_.LinkPort(com, home_.Root() / ("absent-COM" + std::to_string(com)));
  }

  void StartEmulator(int com, const veritrak::Options& options = {}) {
    emulator_ = std::make_unique<veritrak::Emulator>(options);
    home_.LinkPort(com, emulator_->DevicePath());
  }

  // Construction and the splash with its search, as the program starts.
  void StartProgram(const TMainForm::ScreenInfo& screen = {QSize(1024, 768), 96}) {
    form_ = std::make_unique<TMainForm>(questions_, screen);
    form_->OpenUrl = [this](const QUrl& url) { return opened_.append(url), desktopShows_; };
    QObject::connect(form_.get(), &TMainForm::SplashTextShown,
                     [this](const QString& text) { splashTexts_ << text; });
    QObject::connect(form_.get(), &TMainForm::RequestDone, [this](int code) { done_ << code; });
    splash_ = std::make_unique<TStartup>(*form_);
    form_->CreateDialogs();
  }

  // The emulator on COM1, the program started and its status page live.
  void StartLive(const veritrak::Options& options = {}) {
    StartEmulator(1, options);
    StartProgram();
    ASSERT_TRUE(WaitForLivePositions());
    wordsSeen_ = emulator_->WrittenWords().size();
  }

  // A head standing still at 5000 counts: a reset position reads exactly 0.
  static veritrak::Options StillHead() {
    veritrak::Options options;
    options.head.speed = 0;
    options.head.startPosition = 5000;
    return options;
  }

  // As QTest::qWaitFor, but events are served as they come instead of
  // between naps: a thread's synchronised calls are answered at once and the
  // acquisition keeps its own pace. The ticker wakes the wait when nothing
  // else happens.
  static bool Eventually(const std::function<bool()>& condition, int limitMs = kLongWaitMs) {
    QTimer ticker;
    ticker.start(5);
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
      if (clock.elapsed() > limitMs) return false;
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
  }

  bool WaitForLivePositions() {
    QLabel* position = form_->EncoderPositionText;
    const QString first = position->text();
    return Eventually([&] { return position->text() != first; });
  }

  // The request posted by the last action has been carried out, now or
  // before the test came to wait for it; requests done before it are passed.
  void Finish(int code) {
    ASSERT_TRUE(Eventually([&] { return done_.contains(code); })) << "request " << code;
    done_.remove(0, done_.indexOf(code) + 1);
  }

  // The view's own acquisition runs and nothing else holds the line.
  bool WaitLive(int view) {
    return Eventually([&] {
      ComData& c = *form_->Connection;
      for (int other = StatusView; other <= PositionView; ++other)
        if (other != view && c.ThreadActive[other]) return false;
      return view == EngineeringView ? c.ThreadRunning.load() : c.ThreadActive[view].load();
    });
  }

  bool WaitUnlocked() { return Eventually([&] { return form_->Lissajous1->isEnabled(); }); }

  // Waits until the view has recorded `samples` more samples.
  bool WaitRecorded(int view, int32_t samples) {
    const int32_t from = form_->Connection->WriteIndex[view];
    return Eventually([&] { return form_->Connection->WriteIndex[view] - from >= samples; });
  }

  // The words the electronics accepted since the last call.
  std::vector<uint32_t> NewWords() {
    const std::vector<uint32_t> all = emulator_->WrittenWords();
    const std::vector<uint32_t> fresh(all.begin() + static_cast<std::ptrdiff_t>(wordsSeen_),
                                      all.end());
    wordsSeen_ = all.size();
    return fresh;
  }

  // ---- a person's input ----
  // A key pressed while the main window is the active window (the offscreen
  // platform leaves the hidden splash active after the search).
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QApplication::setActiveWindow(form_.get());
    QTest::keyClick(form_.get(), key, modifiers);
  }
  // A click through the window system, which keeps it from a window that a
  // modal one blocks.
  void Click(QWidget* control) {
    QTest::mouseClick(form_->windowHandle(), Qt::LeftButton, {},
                      control->mapTo(form_.get(), control->rect().center()));
  }
  // An item chosen from the menu bar with the mouse: its menu, then the item
  // (through its submenu when it has one, which opens as the mouse rests on
  // its entry).
  void Choose(QAction* item) {
    QMenuBar* bar = form_->menuBar();
    for (QAction* top : bar->actions()) {
      QMenu* menu = top->menu();
      QAction* entry = nullptr;
      for (QAction* candidate : menu->actions())
        if (candidate == item || (candidate->menu() && candidate->menu()->actions().contains(item)))
          entry = candidate;
      if (!entry) continue;
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
      ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
      QTest::mouseMove(menu, menu->actionGeometry(entry).center());
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
      if (entry != item) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(entry->menu()));
        QTest::mouseClick(entry->menu(), Qt::LeftButton, {},
                          entry->menu()->actionGeometry(item).center());
      }
      return;
    }
    FAIL() << "no menu holds " << item->objectName().toStdString();
  }

  // How many pixels of the plot show the colour.
  int CountPixels(const QColor& colour) const {
    const QImage& image = form_->GraphBox->Image();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
  }

  bool SettingsWritten() const { return QFile::exists(installDir_.filePath("Quillon.ini")); }

  testsupport::TempConfigHome home_;
  QTemporaryDir installDir_, systemDir_;
  ScriptedQuestions questions_;
  std::unique_ptr<veritrak::Emulator> emulator_;
  std::unique_ptr<TMainForm> form_;
  std::unique_ptr<TStartup> splash_;
  QStringList splashTexts_;
  QList<int> done_;
  size_t wordsSeen_ = 0;
  QList<QUrl> opened_;        // the help pages handed to the desktop
  bool desktopShows_ = true;  // false: the desktop cannot show them
};

}  // namespace quillon
