// The electronics going silent while the status page is live: the failure
// dialog and its three ways out.
#include "main_form_fixture.h"

namespace quillon {
namespace {

class FailureTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartEmulator(1);
    StartProgram();
    ASSERT_TRUE(WaitForLivePositions());
  }
  // Pulls the cable and waits until the failure dialog has been answered.
  bool PullCableUntilAnswered() {
    const int before = questions_.Count(kFailureStart);
    emulator_->PullCable();
    return QTest::qWaitFor([&] { return questions_.Count(kFailureStart) > before; },
                           kLongWaitMs);
  }
};

TEST_F(FailureTest, YesReconnectsOnceTheElectronicsAreBackAndAllSearchesAgain) {
  // Yes while the cable is still out brings the box back; then the cable
  // is plugged in and Yes reconnects on the same port.
  int failures = 0;
  questions_.handler = [&](const Question& question) {
    EXPECT_TRUE(question.text.startsWith(kFailureStart));
    EXPECT_EQ(question.answers,
              (QList<Answer>{Answer::Yes, Answer::No, Answer::All, Answer::Help}));
    if (++failures == 2) emulator_->PlugCable();
    return Answer::Yes;
  };
  ASSERT_TRUE(PullCableUntilAnswered());
  ASSERT_TRUE(QTest::qWaitFor([&] { return failures == 2 && !form_->DemoMode; }, kLongWaitMs));
  EXPECT_EQ(splashTexts_.count("Trying to Communicate with Electronics..."), 2);
  EXPECT_EQ(splashTexts_.last(), "Kestrel Electronics Found on COM1");
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  EXPECT_TRUE(WaitForLivePositions());

  // All: the electronics turn up on another port.
  questions_.handler = [&](const Question&) {
    UnplugPort(1);
    home_.LinkPort(3, emulator_->DevicePath());
    emulator_->PlugCable();
    return Answer::All;
  };
  splashTexts_.clear();
  ASSERT_TRUE(PullCableUntilAnswered());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return form_->Connection && form_->Connection->Port() == 3; }, kLongWaitMs));
  EXPECT_EQ(splashTexts_.first(), "Polling Com1...");
  EXPECT_EQ(splashTexts_.last(), "Kestrel Electronics Found on COM3");
  EXPECT_TRUE(WaitForLivePositions());
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
  EXPECT_FALSE(form_->Veritrakversion1->isEnabled());
  // Nothing talks to the electronics any more.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form_->Connection->ThreadAlive(); }, kLongWaitMs));
  EXPECT_FALSE(form_->Connection->ThreadRunning);

  questions_.handler = [](const Question&) { return Answer::Yes; };
  form_->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_->Connection == nullptr; }, kLongWaitMs));
  EXPECT_FALSE(SettingsWritten());
}

}  // namespace
}  // namespace quillon
