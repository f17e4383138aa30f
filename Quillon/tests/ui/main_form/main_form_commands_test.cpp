// The device commands of the menus and the engineering display: the items
// chosen with the mouse (the hidden ones through their handlers), their
// dialogs answered by clicks and typing, and the words that reach the
// electronics read back from the emulator. With all controls on request the
// hidden controls are shown and used as a person would.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <deque>

#include "alarm_history_form.h"
#include "encoder_setup_form.h"
#include "engineering_display.h"
#include "extra_options.h"
#include "info_form.h"
#include "main_form_fixture.h"
#include "radio_group.h"
#include "recording_questions.h"

namespace quillon {
namespace {

using Words = std::vector<uint32_t>;

// Takes the next step for each showing of one of the program's own modal
// dialogs (the radio choice, the text entry), once its event loop runs.
// Each hidden control with what it does: the request it ends with (0 none,
// -1 disabled while connected), the boxes, files or modal dialogs it asks,
// the window it opens.
struct Twin {
  QObject* control;
  int request, asks;
  QWidget* window;
};
std::vector<Twin> Twins(const TMainForm& f) {
  // clang-format off
  return {{f.StopButton, 20, 0, {}}, {f.ReviewButton, 17, 0, {}}, {f.FastButton, 18, 0, {}},
          {f.StopButton, 20, 0, {}}, {f.AcquireButton, 0, 0, {}}, {f.Loaddata1, 19, 1, {}},
          {f.StatusandSetup1, 16, 1, {}}, {f.SetupandStatus1, 21, 0, {}},
          {f.Encoder1, 0, 0, f.EncoderSetupForm}, {f.Resetalarms1, 0, 0, f.AlarmHistoryForm},
          {f.AlarmHistoryButton, 0, 0, f.AlarmHistoryForm}, {f.Interpolation1, 0, 1, {}},
          {f.Bandwidth1, 0, 1, {}}, {f.LocateIndex1, 3, 1, {}}, {f.Zeroposition1, 7, 1, {}},
          {f.HardwareReset1, -1, 0, {}}, {f.SearchForElectronics1, -1, 0, {}}};
  // clang-format on
}

class CommandsTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartLive(StillHead());
  }
  void ExpectNothingDone() {
    EXPECT_FALSE(form_->ReadWriteTimer->isActive());
    EXPECT_EQ(NewWords(), Words{});
  }
  QString Info(const char* box) {
    Choose(form_->Veritrakversion1);
    Finish(4);
    EXPECT_TRUE(form_->InfoForm->isVisible());
    const QString text = form_->InfoForm->findChild<QLabel*>(box)->text();
    QTest::keyClick(form_->InfoForm, Qt::Key_Escape);
    return text;
  }
  QLineEdit* Box(const char* name) const {
    return form_->EngineeringDisplay->findChild<QLineEdit*>(name);
  }
  // On the window, or in a menu of the menu bar or one of their submenus.
  bool Shown(QObject* control) const {
    if (auto* widget = qobject_cast<QWidget*>(control)) return widget->isVisible();
    for (QAction* top : form_->menuBar()->actions())
      for (QAction* entry : top->menu()->actions())
        if (entry == control || (entry->menu() && entry->menu()->actions().contains(control)))
          return true;
    return false;
  }
  DialogSteps dialogs_;
};

class AllControlsTest : public CommandsTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    QSettings(installDir_.filePath(kExtraOptionsFile), QSettings::IniFormat)
        .setValue("allcontrols", 1);
    StartLive(StillHead());
  }
};

TEST_F(CommandsTest, ConfirmedCommandsReachTheElectronicsAndCancelledOnesDoNot) {
  for (const Twin& twin : Twins(*form_))
    EXPECT_FALSE(Shown(twin.control)) << twin.control->objectName();
  EXPECT_EQ(Info("ComPort"), "COM1");
  const int cycles = Info("PowerOnCyclesBox").toInt();
  Answer answer = Answer::Cancel;
  questions_.handler = [&](const Question& question) {
    EXPECT_EQ(question.answers, (QList<Answer>{Answer::Ok, Answer::Cancel}));
    return answer;
  };
  Choose(form_->SoftwareSystemReset1);
  for (QAction* hidden : {form_->LocateIndex1, form_->Zeroposition1}) hidden->trigger();
  ExpectNothingDone();

  // The software reset waits out the electronics' restart, then takes the
  // position it finds as the new zero.
  answer = Answer::Ok;
  QElapsedTimer resetTime;
  resetTime.start();
  Choose(form_->SoftwareSystemReset1);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Finish(6);
  EXPECT_GE(resetTime.elapsed(), 2000);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  ASSERT_TRUE(Eventually([&] { return form_->EncoderPositionText->text() == "0"; }));
  EXPECT_EQ(Info("PowerOnCyclesBox").toInt(), cycles + 1);
  EXPECT_EQ(NewWords(), Words{});

  form_->LocateIndex1->trigger();
  Finish(3);
  EXPECT_EQ(NewWords(), Words{0x800014});
  form_->Zeroposition1->trigger();
  Finish(7);
  EXPECT_EQ(NewWords(), (Words{0x800002, 0x800004}));
  EXPECT_EQ(questions_.Count(kFailureStart), 0);
  EXPECT_TRUE(WaitLive(StatusView));
}

TEST_F(CommandsTest, InterpolationAndFrequencyAreAskedUntilValidAndWritten) {
  questions_.handler = [](const Question& question) {
    EXPECT_EQ(question.text, "Please input an integer between 4 and 4096");
    return Answer::Ok;
  };
  // Cancel, then text that is no number, out of range on both sides, and 4.
  dialogs_.Then([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
  for (const char* text : {"abc", "3", "4097", "4"})
    dialogs_.Then([text](QDialog& d) {
      Retype(Child<QLineEdit>(d, "EditBox"), text);
      QTest::keyClick(Child<QLineEdit>(d, "EditBox"), Qt::Key_Return);
    });
  form_->Interpolation1->trigger();
  ExpectNothingDone();
  form_->Interpolation1->trigger();
  EXPECT_EQ(dialogs_.shown, 5);
  EXPECT_EQ(questions_.asked.size(), 2);
  Finish(2);
  EXPECT_EQ(NewWords(), Words{0x830030});
  EXPECT_EQ(form_->InterpolationBox->text(), "4");

  // The output frequency starts at the setting in force.
  const int inForce = static_cast<int>(form_->Connection->StatusSetup() & 7) - 1;
  dialogs_.Then([&](QDialog& d) {
    EXPECT_EQ(Child<RadioGroup>(d, "RadioGroup1")->ItemIndex(), inForce);
    ClickItem(d, "RadioGroup1", 0);
    ClickButton(d, "CancelBtn");
  });
  dialogs_.Then([](QDialog& d) {
    ClickItem(d, "RadioGroup1", 0);
    ClickButton(d, "OKBtn");
  });
  form_->Bandwidth1->trigger();
  ExpectNothingDone();
  form_->Bandwidth1->trigger();
  Finish(1);
  EXPECT_EQ(NewWords(), Words{0x820001});
  EXPECT_EQ(form_->FrequencyBox->text(), " 7.2 MHz");
  EXPECT_TRUE(WaitLive(StatusView));
}

TEST_F(CommandsTest, EngineeringDisplaySurveysAndWritesATypedWord) {
  TEngineeringDisplay& display = *form_->EngineeringDisplay;
  auto* write = display.findChild<QPushButton*>("writedatabutton");
  ASSERT_FALSE(write->isEnabled());
  dialogs_.Then([](QDialog& d) {
    EXPECT_EQ(Child<RadioGroup>(d, "RadioGroup1")->ItemIndex(), 1);
    ClickItem(d, "RadioGroup1", 0);
    ClickButton(d, "OKBtn");
  });
  dialogs_.Then([](QDialog& d) {
    ClickItem(d, "RadioGroup1", 1);
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  Choose(form_->EngineeringDisplay1);
  EXPECT_TRUE(write->isEnabled());
  Choose(form_->EngineeringDisplay1);
  EXPECT_TRUE(write->isEnabled()) << "Escape keeps the choice";

  Key(Qt::Key_F6);
  Finish(13);
  ASSERT_TRUE(WaitLive(EngineeringView));
  ASSERT_TRUE(Eventually([&] { return !Box("positionbox")->text().isEmpty(); }));
  EXPECT_EQ(Box("poweroncyclesbox")->text(), "00000038");  // 56 power-on cycles
  EXPECT_EQ(Box("positionbox")->text(), "00001388");       // at 5000 counts

  // The write goes out between two passes; the next pass shows its effect.
  Box("writedatabox")->setFocus();
  QTest::keyClicks(Box("writedatabox"), "830030");
  QTest::mouseClick(write, Qt::LeftButton);
  Finish(15);
  EXPECT_EQ(NewWords(), Words{0x830030});
  EXPECT_TRUE(Eventually([&] { return Box("interpdepthbox")->text() == "0030"; }));

  // Closing returns to the status page, which reads the setup back.
  QTest::keyClick(&display, Qt::Key_Escape);
  Finish(14);
  EXPECT_EQ(form_->CurrentView, StatusView);
  EXPECT_EQ(form_->InterpolationBox->text(), "4");
  EXPECT_TRUE(form_->View1->isEnabled());
  EXPECT_TRUE(WaitLive(StatusView));
  EXPECT_TRUE(questions_.asked.isEmpty());
}

TEST_F(AllControlsTest, EachShownControlDoesWhatItsHiddenTwinDoes) {
  int files = 0;
  questions_.fileHandler = [&](const FileQuestion&) { return ++files, QString(); };
  questions_.handler = [](const Question&) { return Answer::Ok; };
  for (int i = 0; i < 2; ++i) dialogs_.Then([](QDialog& d) { ClickButton(d, "CancelBtn"); });
  const auto asked = [&] { return files + dialogs_.shown + int(questions_.asked.size()); };
  for (const auto& [control, request, asks, window] : Twins(*form_)) {
    SCOPED_TRACE(control->objectName().toStdString());
    ASSERT_TRUE(Shown(control));
    auto* item = qobject_cast<QAction*>(control);
    if (request < 0) {
      EXPECT_FALSE(item->isEnabled());
      continue;
    }
    const int before = asked();
    item ? Choose(item) : Click(static_cast<QWidget*>(control));
    if (request > 0) Finish(request);
    EXPECT_EQ(asked() - before, asks);
    if (window) {
      EXPECT_TRUE(window->isVisible());
      QTest::keyClick(window, Qt::Key_Escape);
    }
    ASSERT_TRUE(WaitUnlocked());
  }
  EXPECT_EQ(NewWords(), (Words{0x800014, 0x800002, 0x800004}));  // centring, zeroing
  EXPECT_TRUE(WaitLive(StatusView));                             // Acquire went live
}

}  // namespace
}  // namespace quillon
