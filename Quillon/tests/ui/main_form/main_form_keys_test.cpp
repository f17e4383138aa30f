// Every key of the main menu pressed on the window in each view: it does
// what its item does where the item is enabled, hidden or not, and nothing
// where it is disabled.
#include "encoder_setup_form.h"
#include "engineering_display.h"
#include "main_form_fixture.h"

namespace quillon {
namespace {

class KeysTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartLive(StillHead());
  }
};

TEST_F(KeysTest, ViewKeysMoveBetweenTheViewsWhereTheirItemsAreEnabled) {
  const struct {
    Qt::Key key;
    int request;  // 0: nothing is posted
    int view;
  } steps[] = {
      {Qt::Key_F2, 0, StatusView},    {Qt::Key_F3, 8, SignalView},   {Qt::Key_F3, 0, SignalView},
      {Qt::Key_F11, 0, SignalView},   {Qt::Key_F12, 0, SignalView},  {Qt::Key_F4, 9, StrengthView},
      {Qt::Key_F2, 11, StatusView},   {Qt::Key_F4, 9, StrengthView}, {Qt::Key_F3, 8, SignalView},
      {Qt::Key_F2, 11, StatusView},   {Qt::Key_F6, 13, EngineeringView},
  };
  // F1 opens the manual at the view's chapter, which the manual holds.
  const char* chapters[] = {"status-page", "encoder-signal", "signal-strength"};
  for (const auto& step : steps) {
    SCOPED_TRACE(testing::Message() << "key " << step.key << " to view " << step.view);
    Key(step.key);
    if (step.request == 0) {
      EXPECT_FALSE(form_->ReadWriteTimer->isActive());
      EXPECT_FALSE(form_->EncoderSetupForm->isVisible());
    } else {
      Finish(step.request);
      ASSERT_TRUE(WaitLive(step.view));
      ASSERT_TRUE(WaitUnlocked());
    }
    EXPECT_EQ(form_->CurrentView, step.view);
    if (step.view == EngineeringView) continue;
    Key(Qt::Key_F1);
    ASSERT_EQ(opened_.size(), 1);
    EXPECT_EQ(opened_[0].fragment(), chapters[step.view]);
    QFile manual(opened_.takeFirst().toLocalFile());
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
    EXPECT_TRUE(manual.readAll().contains(QByteArray("id=\"") + chapters[step.view] + '"'));
  }
  // Escape on the engineering display returns to the page it was opened from.
  ASSERT_TRUE(form_->EngineeringDisplay->isVisible());
  QTest::keyClick(form_->EngineeringDisplay, Qt::Key_Escape);
  Finish(14);
  EXPECT_EQ(form_->CurrentView, StatusView);
  EXPECT_TRUE(WaitLive(StatusView));
  EXPECT_TRUE(questions_.asked.isEmpty());
}

// F1 and F8 are pressed in demo mode, where they are all that is left.
TEST_F(KeysTest, StatusPageKeysResetThePositionAndOpenTheUnits) {
  ASSERT_EQ(form_->EncoderPositionText->text(), "5,000");
  Key(Qt::Key_F12);
  ASSERT_TRUE(Eventually([&] { return form_->EncoderPositionText->text() == "0"; }));
  EXPECT_TRUE(NewWords().empty()) << "a reset of the display only";

  // F11 opens the units of the hidden Settings item; Escape leaves them.
  Key(Qt::Key_F11);
  ASSERT_TRUE(form_->EncoderSetupForm->isVisible());
  QTest::keyClick(form_->EncoderSetupForm, Qt::Key_Escape);
  EXPECT_FALSE(form_->EncoderSetupForm->isVisible());
  EXPECT_FALSE(SettingsWritten());

  EXPECT_FALSE(form_->ReadWriteTimer->isActive());
}

}  // namespace
}  // namespace quillon
