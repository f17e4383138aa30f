// The main window against the emulated electronics, with its questions
// answered by the test, its installation directory and system settings in
// temporary folders, and every COM port pointing into the test's own port
// folder, so that the search never opens a real serial device.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <functional>
#include <memory>

#include "canvas_widgets.h"
#include "main_form.h"
#include "probelink.h"
#include "questions.h"
#include "startup.h"
#include "temp_config_home.h"
#include "veritrak/emulator.h"

namespace quillon {

// Answers each question and file dialog with the test's handlers and keeps
// what was asked.
class ScriptedQuestions : public Questions {
 public:
  std::function<Answer(const Question&)> handler;
  QList<Question> asked;

  Answer Ask(const Question& question) override {
    asked.append(question);
    if (handler) return handler(question);
    ADD_FAILURE() << "unexpected question: " << question.text.toStdString();
    // The answer that ends the box without starting anything new.
    for (Answer quiet : {Answer::Ignore, Answer::No, Answer::Cancel, Answer::Ok})
      if (question.answers.contains(quiet)) return quiet;
    return question.answers.value(0);
  }
  // A file dialog: the handler's path, or cancelled.
  std::function<QString(const FileQuestion&)> fileHandler;
  QList<FileQuestion> fileAsked;

  QString AskFileName(const FileQuestion& question) override {
    fileAsked.append(question);
    if (fileHandler) return fileHandler(question);
    ADD_FAILURE() << "unexpected file dialog: " << question.title.toStdString();
    return {};
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
inline const QString kCloseText = QStringLiteral("Close Veritrak II Software? ");
inline const QString kLiveTitle =
    QStringLiteral("Norvale Systems Veritrak II Software - Displaying Live Data");
inline const QString kDemoTitle = QStringLiteral("Norvale Systems Veritrak Software - Demo Mode");

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
    QObject::connect(form_.get(), &TMainForm::SplashTextShown,
                     [this](const QString& text) { splashTexts_ << text; });
    splash_ = std::make_unique<TStartup>(*form_);
    form_->CreateDialogs();
  }

  // The emulator on COM1, the program started and its status page live.
  void StartLiveOnCom1(const veritrak::Options& options = {}) {
    StartEmulator(1, options);
    StartProgram();
    ASSERT_TRUE(WaitForLivePositions());
  }

  // The window without a search: for what needs no electronics.
  void CreateForm(const TMainForm::ScreenInfo& screen = {QSize(1024, 768), 96}) {
    form_ = std::make_unique<TMainForm>(questions_, screen);
    form_->show();
  }

  bool WaitForLivePositions() {
    QLabel* position = form_->EncoderPositionText;
    const QString first = position->text();
    return QTest::qWaitFor([&] { return position->text() != first; }, kLongWaitMs);
  }

  // Posts nothing itself: waits for the request already posted.
  bool WaitForRequest(int code) {
    bool done = false;
    const auto connection = QObject::connect(form_.get(), &TMainForm::RequestDone,
                                             [&](int finished) { done |= finished == code; });
    const bool ok = QTest::qWaitFor([&] { return done; }, kLongWaitMs);
    QObject::disconnect(connection);
    return ok;
  }

  bool SettingsWritten() const { return QFile::exists(installDir_.filePath("Quillon.ini")); }

  testsupport::TempConfigHome home_;
  QTemporaryDir installDir_, systemDir_;
  ScriptedQuestions questions_;
  std::unique_ptr<veritrak::Emulator> emulator_;
  std::unique_ptr<TMainForm> form_;
  std::unique_ptr<TStartup> splash_;
  QStringList splashTexts_;
};

}  // namespace quillon
