// The engineering display as view 4 against the emulated electronics, and a
// pulled cable in each of the views that stream or survey.
#include <QLineEdit>

#include "engineering_display.h"
#include "live_form_fixture.h"
#include "modal_dialogs.h"

namespace quillon {
namespace {

class EngineeringTest : public LiveFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartLive();
  }
  QLineEdit* Box(const char* name) const {
    return form_->EngineeringDisplay->findChild<QLineEdit*>(name);
  }
};

TEST_F(EngineeringTest, SurveyRefreshesAndARawWriteChangesTheInterpolation) {
  TEngineeringDisplay& display = *form_->EngineeringDisplay;
  auto* write = display.findChild<QPushButton*>("writedatabutton");
  ASSERT_FALSE(write->isEnabled());
  ModalDialogs dialogs;
  dialogs.Then([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Engineering Display Settings");
    EXPECT_EQ(d.findChild<QLabel*>("warning")->text(),
              "Warning:  Please review all Norvale Systems Veritrak II documentation before "
              "enabling writing in engineering mode.  Also verify that only valid data is being "
              "sent.  Remember all data sent is in hexidecimal");
    EXPECT_EQ(ModalDialogs::ChosenItem(d), 1);
    ModalDialogs::ChooseItem(d, 0);
    ModalDialogs::Click(d, "OKBtn");
  });
  dialogs.Then([](QDialog& d) {
    ModalDialogs::ChooseItem(d, 1);
    ModalDialogs::Click(d, "CancelBtn");
  });
  form_->EngineeringDisplay1->trigger();
  EXPECT_TRUE(write->isEnabled());
  form_->EngineeringDisplay1->trigger();
  EXPECT_TRUE(write->isEnabled()) << "cancel keeps the choice";

  form_->Engineering1->trigger();
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Finish(13);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  ASSERT_TRUE(display.isVisible());
  EXPECT_EQ(display.grab().toImage().pixelColor(2, 2), QColor(0, 64, 128));
  ASSERT_TRUE(WaitLive(EngineeringView));
  for (QAction* menu : {form_->File1, form_->View1, form_->Settings1, form_->Tools1})
    EXPECT_FALSE(menu->isEnabled());
  EXPECT_TRUE(form_->Mainwindow1->isEnabled()) << "the items keep their own state";

  // Each pass fills all thirty boxes in hexadecimal.
  ASSERT_TRUE(Eventually([&] { return !Box("positionbox")->text().isEmpty(); }, kLongWaitMs));
  const QString interpolation =
      QStringLiteral("%1").arg(form_->Connection->InterpCode() << 4, 4, 16, QLatin1Char('0'));
  EXPECT_EQ(Box("interpdepthbox")->text(), interpolation.toUpper());
  EXPECT_EQ(Box("poweroncyclesbox")->text(), "00000038");  // 56 power-on cycles
  EXPECT_EQ(Box("positionbox")->text().size(), 8);

  // The write goes out between two passes; the next pass shows its effect.
  auto* word = Box("writedatabox");
  word->setFocus();
  QTest::keyClicks(word, "830030");
  QTest::mouseClick(write, Qt::LeftButton);
  Finish(15);
  EXPECT_EQ(NewWords(), std::vector<uint32_t>{0x830030});
  EXPECT_TRUE(Eventually([&] { return Box("interpdepthbox")->text() == "0030"; }, kLongWaitMs));

  // Closing returns to the status page, which reads the setup back.
  display.close();
  Finish(14);
  EXPECT_EQ(form_->CurrentView, StatusView);
  EXPECT_EQ(form_->InterpolationBox->text(), "4");
  for (QAction* menu : {form_->File1, form_->View1, form_->Settings1, form_->Tools1})
    EXPECT_TRUE(menu->isEnabled());
  EXPECT_TRUE(WaitLive(StatusView));
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  EXPECT_EQ(questions_.asked.size(), 0);
}

TEST_F(EngineeringTest, APulledCableInEachViewBringsTheFailureDialog) {
  const struct {
    QAction* item;
    int code, view;
  } views[] = {{form_->Lissajous1, 8, SignalView},
               {form_->SignalMonitor1, 9, StrengthView},
               {form_->EncoderPositionPlot1, 10, PositionView},
               {form_->Engineering1, 13, EngineeringView}};
  for (const auto& v : views) {
    SCOPED_TRACE(testing::Message() << "view " << v.view);
    v.item->trigger();
    Finish(v.code);
    ASSERT_TRUE(WaitLive(v.view));
    ASSERT_TRUE(WaitUnlocked());

    // Yes once the cable is back reconnects, and the view runs again.
    questions_.handler = [&](const Question& question) {
      EXPECT_TRUE(question.text.startsWith(kFailureStart));
      EXPECT_EQ(question.answers.contains(Answer::Help), v.view != EngineeringView);
      emulator_->PlugCable();
      return Answer::Yes;
    };
    const int before = questions_.Count(kFailureStart);
    emulator_->PullCable();
    ASSERT_TRUE(Eventually([&] { return questions_.Count(kFailureStart) > before; }, kLongWaitMs));
    questions_.handler = nullptr;
    EXPECT_FALSE(form_->DemoMode);
    EXPECT_EQ(form_->CurrentView, v.view);
    ASSERT_TRUE(WaitLive(v.view));
  }
  form_->EngineeringDisplay->close();
  Finish(14);
}

}  // namespace
}  // namespace quillon
