// The device commands of the menus: their dialogs answered by clicks, and
// the words that reach the electronics read back from the emulator.
#include <QApplication>

#include "edit_dialog.h"
#include "info_form.h"
#include "live_form_fixture.h"
#include "modal_dialogs.h"

namespace quillon {
namespace {

using Words = std::vector<uint32_t>;
using D = ModalDialogs;

const QString kRangeMessage = QStringLiteral("Please input an integer between 4 and 4096");

class CommandsTest : public LiveFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    // A head standing still: the position shown is exactly what was zeroed.
    veritrak::Options options;
    options.head.speed = 0;
    options.head.startPosition = 5000;
    StartLive(options);
  }

  // Nothing posted, nothing written.
  void ExpectNothingDone() {
    EXPECT_FALSE(form_->ReadWriteTimer->isActive());
    EXPECT_EQ(NewWords(), Words{});
  }

  QString PowerOnCycles() {
    form_->Veritrakversion1->trigger();
    Finish(4);
    return form_->InfoForm->findChild<QLabel*>("PowerOnCyclesBox")->text();
  }

  ModalDialogs dialogs_;
};

TEST_F(CommandsTest, InterpolationLevelIsAskedUntilInRangeAndWritten) {
  const QString current = QString::number(form_->Connection->InterpCode() + 1);
  questions_.handler = [](const Question& question) {
    EXPECT_EQ(question.kind, QuestionKind::Information);
    EXPECT_EQ(question.text, kRangeMessage);
    return Answer::Ok;
  };
  dialogs_.Then([&](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Input New Interpolation Level");
    EXPECT_EQ(D::Text(d, "EditBox"), current);
    EXPECT_EQ(d.findChild<QLabel*>("Information")->text(), "Enter an integer between 4 and 4096");
    EXPECT_EQ(d.findChild<QLabel*>("StaticText1")->text(),
              "Warning:  Changing the interpolation level while operating");
    EXPECT_EQ(d.findChild<QLabel*>("StaticText2")->text(),
              "in closed loop control is not recommended.");
    D::Click(d, "CancelBtn");
  });
  form_->Interpolation1->trigger();
  ExpectNothingDone();
  dialogs_.Then([](QDialog& d) {
    D::Type(d, "EditBox", "");
    D::Click(d, "OKBtn");
  });
  form_->Interpolation1->trigger();
  ExpectNothingDone();

  // Not a number comes back at once; out of range comes back after the message.
  for (const char* text : {"abc", "3", "4097"})
    dialogs_.Then([text](QDialog& d) {
      D::Type(d, "EditBox", text);
      D::Click(d, "OKBtn");
    });
  dialogs_.Then([&](QDialog& d) {
    EXPECT_EQ(D::Text(d, "EditBox"), current) << "each showing starts afresh";
    D::Type(d, "EditBox", "4");
    QTest::keyClick(d.findChild<QLineEdit*>("EditBox"), Qt::Key_Return);
  });
  form_->Interpolation1->trigger();
  EXPECT_EQ(dialogs_.Shown(), 6);
  EXPECT_EQ(questions_.Count(kRangeMessage), 2);
  Finish(2);
  EXPECT_EQ(NewWords(), Words{0x830030});
  EXPECT_EQ(form_->InterpolationBox->text(), "4");
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  EXPECT_TRUE(WaitLive(StatusView));

  // The Settings item for data processing is hidden and disabled; its
  // handler still asks and keeps the choice.
  dialogs_.Then([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Enable or Disable Data Processing Features for Setup and Status");
    EXPECT_EQ(D::ChosenItem(d), 1);
    D::ChooseItem(d, 0);
    D::Click(d, "OKBtn");
  });
  dialogs_.Then([](QDialog& d) {
    EXPECT_EQ(D::ChosenItem(d), 0);
    D::Click(d, "CancelBtn");
  });
  form_->DataProcessingForSetupandStatus1Click();
  EXPECT_TRUE(form_->StatusDataProcessing);
  form_->DataProcessingForSetupandStatus1Click();
  EXPECT_TRUE(form_->StatusDataProcessing);
  ExpectNothingDone();
}

TEST_F(CommandsTest, ResetsFrequencyCentringAndZeroingReachTheElectronics) {
  // Reset Position (F12): the display is zero without a word on the wire.
  ASSERT_EQ(form_->EncoderPositionText->text(), "5,000");
  form_->ResetPosition1->trigger();
  ASSERT_TRUE(Eventually([&] { return form_->EncoderPositionText->text() == "0"; }, kLongWaitMs));
  ExpectNothingDone();

  // Every confirmation is cancelled once, then accepted.
  Answer answer = Answer::Cancel;
  questions_.handler = [&](const Question& question) {
    EXPECT_EQ(question.kind, QuestionKind::Warning);
    EXPECT_EQ(question.answers, (QList<Answer>{Answer::Ok, Answer::Cancel}));
    return answer;
  };
  const QString cyclesBefore = PowerOnCycles();
  for (QAction* item : {form_->SoftwareSystemReset1, form_->LocateIndex1, form_->Zeroposition1})
    item->trigger();
  ExpectNothingDone();
  answer = Answer::Ok;

  // The software reset waits out the electronics' restart, then takes the
  // position it finds as the new zero.
  QElapsedTimer resetTime;
  resetTime.start();
  form_->SoftwareSystemReset1->trigger();
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Finish(6);
  EXPECT_GE(resetTime.elapsed(), 2000);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(PowerOnCycles().toInt(), cyclesBefore.toInt() + 1);
  ASSERT_TRUE(Eventually([&] { return form_->EncoderPositionText->text() == "0"; }, kLongWaitMs));
  EXPECT_EQ(NewWords(), Words{});

  form_->LocateIndex1->trigger();
  Finish(3);
  EXPECT_EQ(NewWords(), Words{0x800014});
  form_->Zeroposition1->trigger();
  Finish(7);
  EXPECT_EQ(NewWords(), (Words{0x800002, 0x800004}));

  // The output frequency: the dialog starts at the setting in force.
  const int inForce = static_cast<int>(form_->Connection->StatusSetup() & 7) - 1;
  dialogs_.Then([&](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Choose New Maximum Output Frequency");
    EXPECT_EQ(D::ChosenItem(d), inForce);
    D::ChooseItem(d, 0);
    D::Click(d, "CancelBtn");
  });
  form_->Bandwidth1->trigger();
  ExpectNothingDone();
  dialogs_.Then([](QDialog& d) {
    D::ChooseItem(d, 0);
    D::Click(d, "OKBtn");
  });
  form_->Bandwidth1->trigger();
  Finish(1);
  EXPECT_EQ(NewWords(), Words{0x820001});
  EXPECT_EQ(form_->FrequencyBox->text(), " 7.2 MHz");
  EXPECT_EQ(questions_.asked.size(), 6);
  EXPECT_EQ(questions_.Count(kFailureStart), 0);
  EXPECT_TRUE(WaitLive(StatusView));
}

// The hardware reset is offered without a connection: in demo mode.
TEST_F(MainFormTest, HardwareResetPulsesBothPortsAndLetsThemGo) {
  questions_.handler = [](const Question& question) {
    EXPECT_TRUE(question.text.startsWith(kCannotDetectStart));
    return Answer::Ignore;
  };
  StartProgram();
  ASSERT_TRUE(form_->DemoMode);
  ASSERT_TRUE(form_->HardwareReset1->isEnabled());
  StartEmulator(1);

  Answer answer = Answer::Cancel;
  questions_.handler = [&](const Question& question) {
    EXPECT_TRUE(
        question.text.startsWith("This will perform a hardware reset on both COM1 and COM2."));
    return answer;
  };
  splashTexts_.clear();
  form_->HardwareReset1->trigger();
  EXPECT_TRUE(splashTexts_.isEmpty());
  // A pseudo-terminal has no DTR line: the pulse is refused, the reset goes
  // on to the next port and closes both.
  answer = Answer::Ok;
  QElapsedTimer resetTime;
  resetTime.start();
  form_->HardwareReset1->trigger();
  EXPECT_GE(resetTime.elapsed(), 1600);
  EXPECT_EQ(splashTexts_, QStringList{"Performing Hardware Reset..."});
  EXPECT_FALSE(splash_->isVisible());
  EXPECT_TRUE(form_->DemoMode);

  // COM1 was let go: a new search opens it and finds the electronics.
  questions_.handler = nullptr;
  splashTexts_.clear();
  form_->SearchForElectronics1->trigger();
  ASSERT_TRUE(WaitForRequest(5));
  EXPECT_FALSE(form_->DemoMode);
  EXPECT_EQ(splashTexts_.last(), "Kestrel Electronics Found on COM1");
  EXPECT_TRUE(WaitForLivePositions());
}

}  // namespace
}  // namespace quillon
