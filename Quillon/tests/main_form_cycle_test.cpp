// The read/write cycle against the emulated electronics: each request is
// posted as its menu item or button posts it and carried out by the timer
// once the acquisition has let go of the line.
#include <QAction>
#include <QApplication>

#include "canvas_widgets.h"
#include "info_form.h"
#include "main_form_fixture.h"

namespace quillon {
namespace {

const QString kStoppedTitle =
    QStringLiteral("Norvale Systems II Veritrak Software - Data Display Stopped");

class CycleTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    veritrak::Options options;
    options.device.modelCode = 3;
    StartLiveOnCom1(options);
    QObject::connect(form_.get(), &TMainForm::RequestDone, [this](int code) { done_ << code; });
  }
  // Waits for the request already posted and for the display to run again.
  void Finish(int code) {
    ASSERT_TRUE(WaitForRequest(code)) << code;
    EXPECT_FALSE(form_->ReadWriteTimer->isActive());
  }
  QList<int> done_;
};

TEST_F(CycleTest, DeviceRequestsReachTheElectronicsAndTheDisplayResumes) {
  EXPECT_EQ(form_->LogoText4->text(), "for Osprey II");

  form_->Veritrakversion1->trigger();
  Finish(4);
  ASSERT_TRUE(form_->InfoForm->isVisible());
  EXPECT_EQ(form_->InfoForm->findChild<QLabel*>("ComPort")->text(), "COM1");
  EXPECT_EQ(form_->InfoForm->findChild<QLabel*>("ControllerVersionBox")->text(), "0512");

  form_->NewInterpolation = 9;
  form_->PostRequest(2, 300);
  Finish(2);
  EXPECT_EQ(form_->InterpolationBox->text(), "10");
  EXPECT_EQ(form_->ResolutionBox->text(), " 1.0 counts");  // this model ignores the code

  form_->FrequencyItem = 2;
  form_->PostRequest(1, 300);
  Finish(1);
  EXPECT_EQ(form_->FrequencyBox->text(), " 1.8 MHz");

  form_->PostRequest(3, 300);
  Finish(3);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return form_->IndexBox->text().contains("index centered") ||
                   form_->IndexBox->text().contains("centering"); },
      kLongWaitMs));

  questions_.handler = [](const Question& question) {
    EXPECT_EQ(question.answers, (QList<Answer>{Answer::Ok, Answer::Cancel}));
    return question.text.startsWith("This will zero") ? Answer::Ok : Answer::Cancel;
  };
  form_->SoftwareSystemReset1->trigger();  // cancelled: nothing posted
  EXPECT_FALSE(form_->ReadWriteTimer->isActive());
  form_->Zeroposition1->trigger();
  Finish(7);

  questions_.handler = [](const Question&) { return Answer::Ok; };
  form_->SoftwareSystemReset1->trigger();
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  Finish(6);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  EXPECT_EQ(questions_.Count(kFailureStart), 0);
  EXPECT_TRUE(WaitForLivePositions());
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
}

TEST_F(CycleTest, PageButtonsChangeViewsAndUnlockTheControlsAfterwards) {
  QTest::mouseClick(form_->CenterIndexButton, Qt::LeftButton);  // "Encoder Signal"
  EXPECT_FALSE(form_->Lissajous1->isEnabled());
  EXPECT_FALSE(form_->ResetAlarmsButton->isEnabled());
  Finish(8);
  EXPECT_EQ(form_->CurrentView, SignalView);
  EXPECT_TRUE(form_->GraphBox->isVisible());
  EXPECT_EQ(form_->GraphBox->size(), QSize(400, 400));
  EXPECT_EQ(form_->windowTitle(), "Norvale Systems Veritrak II Software  - Displaying Live Data");
  EXPECT_FALSE(form_->ResetPosition1->isEnabled());
  // This model's inner reference circle spans 145 to 256 in the medium layout.
  const QImage& plot = form_->GraphBox->Image();
  bool circle = false;
  for (int x = 143; x <= 147; ++x) circle |= plot.pixelColor(x, 200) == QColor(0, 128, 0);
  EXPECT_TRUE(circle);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form_->Lissajous1->isEnabled(); }, kLongWaitMs));

  form_->Lissajous1->trigger();  // already there: nothing is posted
  EXPECT_FALSE(form_->ReadWriteTimer->isActive());

  QTest::mouseClick(form_->SetFrequencyButton, Qt::LeftButton);  // "Back To Main"
  Finish(11);
  EXPECT_EQ(form_->CurrentView, StatusView);
  EXPECT_TRUE(form_->EncoderPositionText->isVisible());
  EXPECT_TRUE(form_->ResetPosition1->isEnabled());
  EXPECT_TRUE(form_->ResetAlarmsButton->isEnabled());
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  EXPECT_TRUE(WaitForLivePositions());

  form_->PositionButtonClick();
  Finish(10);
  EXPECT_EQ(form_->CurrentView, PositionView);
  EXPECT_EQ(form_->GraphBox->size(), QSize(500, 400));
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_->SignalMonitor1->isEnabled(); }, kLongWaitMs));
  form_->SignalMonitor1->trigger();
  Finish(9);
  EXPECT_EQ(form_->CurrentView, StrengthView);
  EXPECT_EQ(form_->YValues[0]->text(), "1.6V");
  form_->Mainwindow1->trigger();
  Finish(11);
  EXPECT_EQ(form_->CurrentView, StatusView);
  EXPECT_EQ(questions_.asked.size(), 0);
}

TEST_F(CycleTest, DisplayStateButtonsAndBufferRequests) {
  form_->RedShape->SetBrush(Qt::red);
  form_->StopButtonClick();
  Finish(20);
  EXPECT_EQ(form_->windowTitle(), kStoppedTitle);

  form_->FastButtonClick();  // View
  Finish(18);
  EXPECT_EQ(form_->ViewState[StatusView], ActionView);
  EXPECT_EQ(form_->windowTitle(), "Norvale Systems Veritrak II Software - Viewing Buffered Data");
  EXPECT_FALSE(form_->ResetDataBuffers1->isEnabled());
  EXPECT_FALSE(form_->CommandBusy());
  EXPECT_EQ(form_->RedShape->Brush(), QColor(128, 128, 128));
  form_->AcquireButtonClick();  // refused while viewing the buffer
  EXPECT_EQ(form_->ViewState[StatusView], ActionView);

  form_->StopButtonClick();
  Finish(20);
  form_->AcquireButtonClick();
  EXPECT_EQ(form_->ViewState[StatusView], ActionLive);
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  EXPECT_TRUE(form_->ResetDataBuffers1->isEnabled());
  EXPECT_TRUE(WaitForLivePositions());

  QString timeAtEnd;
  QObject::connect(form_.get(), &TMainForm::RequestDone,
                   [&](int code) { if (code == 21) timeAtEnd = form_->TimeText2->text(); });
  form_->All1->trigger();
  Finish(21);
  EXPECT_EQ(timeAtEnd, "0.0");

  // Two requests before the first tick: only the second is carried out.
  done_.clear();
  form_->ReviewButtonClick();
  form_->StopButtonClick();
  Finish(20);
  EXPECT_EQ(done_, QList<int>{20});

  form_->PostRequest(99, 100);
  Finish(99);
  EXPECT_EQ(form_->ViewState[StatusView], ActionStop);

  // A new search makes every view live again.
  splashTexts_.clear();
  form_->SearchForElectronics1Click();
  Finish(5);
  EXPECT_EQ(splashTexts_, (QStringList{"Polling Com1...", "Osprey Electronics Found on COM1"}));
  EXPECT_EQ(form_->ViewState, (std::array<int, 5>{1, 1, 1, 1, 1}));
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  EXPECT_TRUE(WaitForLivePositions());
}

}  // namespace
}  // namespace quillon
