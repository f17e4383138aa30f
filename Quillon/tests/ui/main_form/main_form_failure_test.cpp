// The electronics going silent: the failure box in every view and its three
// ways out. The box itself (its buttons, Escape, close) is covered in
// questions_test; here its answers are given through the questions seam.
#include "engineering_display.h"
#include "main_form_fixture.h"

namespace quillon {
namespace {

class FailureTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartLive();
  }
  // Pulls the cable and waits until the failure box has been answered.
  bool PullCableUntilAnswered() {
    const int before = questions_.Count(kFailureStart);
    emulator_->PullCable();
    return Eventually([&] { return questions_.Count(kFailureStart) > before; });
  }
};

TEST_F(FailureTest, YesReconnectsInEveryViewAndAllSearchesEveryPort) {
  // Yes while the cable is still out brings the box back.
  int failures = 0;
  questions_.handler = [&](const Question& question) {
    EXPECT_TRUE(question.text.startsWith(kFailureStart));
    EXPECT_EQ(question.answers,
              (QList<Answer>{Answer::Yes, Answer::No, Answer::All, Answer::Help}));
    if (++failures == 2) emulator_->PlugCable();
    return Answer::Yes;
  };
  ASSERT_TRUE(PullCableUntilAnswered());
  ASSERT_TRUE(Eventually([&] { return failures == 2 && !form_->DemoMode; }));
  EXPECT_EQ(splashTexts_.count("Trying to Communicate with Electronics..."), 2);
  EXPECT_EQ(splashTexts_.last(), "Kestrel Electronics Found on COM1");
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  EXPECT_TRUE(WaitForLivePositions());

  // All searches every port again and finds the electronics elsewhere.
  questions_.handler = [&](const Question&) {
    UnplugPort(1);
    home_.LinkPort(3, emulator_->DevicePath());
    emulator_->PlugCable();
    return Answer::All;
  };
  splashTexts_.clear();
  ASSERT_TRUE(PullCableUntilAnswered());
  ASSERT_TRUE(Eventually([&] { return form_->Connection && form_->Connection->Port() == 3; }));
  EXPECT_EQ(splashTexts_.first(), "Polling Com1...");
  EXPECT_EQ(splashTexts_.last(), "Kestrel Electronics Found on COM3");
  EXPECT_TRUE(WaitForLivePositions());

  // Each streaming or surveying view fails alike; on the engineering display
  // the box has no Help.
  const struct {
    Qt::Key key;
    int code, view;
  } views[] = {{Qt::Key_F3, 8, SignalView},
               {Qt::Key_F4, 9, StrengthView},
               {Qt::Key_F6, 13, EngineeringView}};
  for (const auto& v : views) {
    SCOPED_TRACE(v.view);
    Key(v.key);
    Finish(v.code);
    ASSERT_TRUE(WaitLive(v.view));
    questions_.handler = [&](const Question& question) {
      EXPECT_EQ(question.answers.contains(Answer::Help), v.view != EngineeringView);
      emulator_->PlugCable();
      return Answer::Yes;
    };
    ASSERT_TRUE(PullCableUntilAnswered());
    EXPECT_FALSE(form_->DemoMode);
    EXPECT_EQ(form_->CurrentView, v.view);
    ASSERT_TRUE(WaitLive(v.view));
  }
}

TEST_F(FailureTest, NoContinuesInDemoModeAndTheCloseWritesNothing) {
  questions_.handler = [&](const Question&) {
    // A failure reported while the box is open asks nothing more.
    form_->CommunicationFailure();
    return Answer::No;
  };
  ASSERT_TRUE(PullCableUntilAnswered());
  EXPECT_EQ(questions_.Count(kFailureStart), 1);
  EXPECT_TRUE(form_->DemoMode);
  EXPECT_EQ(form_->windowTitle(), kDemoTitle);
  EXPECT_FALSE(form_->SetFrequencyButton->isEnabled());
  // Nothing talks to the electronics any more.
  EXPECT_TRUE(Eventually([&] { return !form_->Connection->ThreadAlive(); }));
  EXPECT_FALSE(form_->Connection->ThreadRunning);

  questions_.handler = [](const Question&) { return Answer::Yes; };
  form_->close();
  ASSERT_TRUE(Eventually([&] { return form_->Connection == nullptr; }));
  EXPECT_FALSE(SettingsWritten());
}

}  // namespace
}  // namespace quillon
