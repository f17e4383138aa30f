// The small dialogs driven as a user drives them: real clicks and keys on the
// shown dialog, then what the caller gets back.
#include <gtest/gtest.h>
#include <probelink.h>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "about_box.h"
#include "edit_dialog.h"
#include "info_form.h"
#include "radio_dialog.h"
#include "radio_group.h"

namespace quillon {
namespace {

// Runs `act` once the modal dialog is up and active, so that focus and the
// default button behave as for a user.
void OnceShown(QDialog& dialog, std::function<void()> act) {
  QTimer::singleShot(0, &dialog, [&dialog, act] {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    act();
  });
  // A click that missed must fail the test, not hang it.
  QTimer::singleShot(30000, &dialog, &QDialog::reject);
}

template <class T>
T* Child(const QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void Click(const QWidget& parent, const char* name) {
  if (auto* button = Child<QPushButton>(parent, name)) QTest::mouseClick(button, Qt::LeftButton);
}

QRadioButton* Item(const QWidget& dialog, int index) {
  const auto buttons = Child<RadioGroup>(dialog, "RadioGroup1")->findChildren<QRadioButton*>();
  return index < buttons.size() ? buttons[index] : nullptr;
}

// On the round mark at the left, where a user clicks.
void ClickItem(const QWidget& dialog, int index) {
  QRadioButton* item = Item(dialog, index);
  ASSERT_NE(item, nullptr);
  QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(8, item->height() / 2));
}

const RadioQuestion kFrequency{
    .caption = "Choose New Maximum Output Frequency",
    .items = {" 7.2 MHz", " 3.6 MHz", " 1.8 MHz", " 900 kHz"},
    .selected = 1,
    .warning =
        "Warning:  Changing the output frequency while operating in closed loop control is "
        "not recommended."};

TEST(RadioDialog, OkGivesTheClickedItem) {
  TRadioDialog dialog;
  OnceShown(dialog, [&] {
    EXPECT_TRUE(Item(dialog, 1)->isChecked());
    ClickItem(dialog, 3);
    Click(dialog, "OKBtn");
  });
  EXPECT_EQ(dialog.Ask(kFrequency), 3);
}

TEST(RadioDialog, CancelGivesNothingAndTheNextUseStartsFromTheCallersChoice) {
  TRadioDialog dialog;
  OnceShown(dialog, [&] {
    ClickItem(dialog, 0);
    Click(dialog, "CancelBtn");
  });
  EXPECT_EQ(dialog.Ask(kFrequency), std::nullopt);

  RadioQuestion writes{.caption = "Engineering Display Settings",
                       .items = {"Enable Engineering Write Buttons", "Disable"},
                       .selected = 1};
  OnceShown(dialog, [&] {
    EXPECT_EQ(Child<RadioGroup>(dialog, "RadioGroup1")->Items(), writes.items);
    Click(dialog, "OKBtn");
  });
  EXPECT_EQ(dialog.Ask(writes), 1);
}

// Focus starts on the chosen item, so the keys act on it: Escape cancels even
// after the arrows moved the choice, Return accepts through the default button.
TEST(RadioDialog, KeysActOnTheFocusedChoice) {
  TRadioDialog dialog;
  OnceShown(dialog, [&] {
    EXPECT_EQ(QApplication::focusWidget(), Item(dialog, 1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.Ask(kFrequency), std::nullopt);

  OnceShown(dialog, [&] {
    ClickItem(dialog, 2);
    EXPECT_EQ(QApplication::focusWidget(), Item(dialog, 2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  });
  EXPECT_EQ(dialog.Ask(kFrequency), 2);
}

const TextQuestion kInterpolation{
    .caption = "Input New Interpolation Level",
    .value = "1024",
    .information = "Enter an integer between 4 and 4096",
    .warning1 = "Warning:  Changing the interpolation level while operating",
    .warning2 = "in closed loop control is not recommended."};

TEST(EditDialog, TypingReplacesTheValueAndOkGivesTheText) {
  TEditDialogForm dialog;
  OnceShown(dialog, [&] {
    QLineEdit* edit = Child<QLineEdit>(dialog, "EditBox");
    EXPECT_EQ(QApplication::focusWidget(), edit);
    QTest::keyClicks(edit, "4096");
    Click(dialog, "OKBtn");
  });
  EXPECT_EQ(dialog.Ask(kInterpolation), QString("4096"));
}

TEST(EditDialog, CancelGivesNothingAndTheNextUseShowsTheCallersValue) {
  TEditDialogForm dialog;
  OnceShown(dialog, [&] {
    QTest::keyClicks(Child<QLineEdit>(dialog, "EditBox"), "abc");
    Click(dialog, "CancelBtn");
  });
  EXPECT_EQ(dialog.Ask(kInterpolation), std::nullopt);

  OnceShown(dialog, [&] {
    EXPECT_EQ(Child<QLineEdit>(dialog, "EditBox")->text(), "1024");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  });
  EXPECT_EQ(dialog.Ask(kInterpolation), QString("1024"));
}

TEST(EditDialog, TextsAreHiddenUntilTheCallerGivesThem) {
  TEditDialogForm dialog;
  for (const char* name : {"Information", "StaticText1", "StaticText2"}) {
    EXPECT_TRUE(Child<QLabel>(dialog, name)->isHidden()) << name;
  }
  OnceShown(dialog, [&] {
    EXPECT_TRUE(Child<QLabel>(dialog, "Information")->isVisible());
    EXPECT_EQ(Child<QLabel>(dialog, "StaticText1")->text(), kInterpolation.warning1);
    EXPECT_TRUE(Child<QLabel>(dialog, "StaticText1")->isVisible());
    EXPECT_FALSE(Child<QLabel>(dialog, "StaticText2")->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  });
  TextQuestion partial = kInterpolation;
  partial.warning2.clear();
  EXPECT_EQ(dialog.Ask(partial), std::nullopt);
}

QString Text(const QWidget& parent, const char* name) {
  const QLabel* label = Child<QLabel>(parent, name);
  return label ? label->text() : QString();
}

TEST(InfoForm, FormatsTheReportedValues) {
  TInfoForm form;
  form.Fill(
      DeviceInfo{
          .mspVersion = 0x1a2b, .modelRegister = 0xc3, .powerOnHours = 1234, .powerOnCycles = 56},
      5, 38400, true);
  EXPECT_EQ(Text(form, "ElectronicsTypeLabel"), "Veritrak Electronics Type: Alignment Tool");
  EXPECT_EQ(Text(form, "ControllerVersionBox"), "1A2B");
  EXPECT_EQ(Text(form, "InterpVersionBox"), "00C3");
  EXPECT_EQ(Text(form, "PowerOnTimeBox"), "1234  hours");
  EXPECT_EQ(Text(form, "ComPort"), "COM5");


  // An unknown type keeps the line's own text.
  TInfoForm unknown;
  unknown.Fill(DeviceInfo{}, 1, 9600, false);
  EXPECT_EQ(Text(unknown, "ElectronicsTypeLabel"), "Veritrak Electronics Type:  ");
  EXPECT_EQ(Text(unknown, "ControllerVersionBox"), "0000");
}

TEST(InfoForm, ShowsWithoutBlockingOnSilverBoxesAndOkCloses) {
  TInfoForm form;
  form.Fill(DeviceInfo{.mspVersion = 0x0102}, 3, 38400, true);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  EXPECT_EQ(QApplication::focusWidget(), Child<QLabel>(form, "ElectronicsTypeLabel"));

  QLabel* box = Child<QLabel>(form, "PowerOnCyclesBox");
  const QImage drawn = box->grab().toImage();
  EXPECT_EQ(drawn.pixelColor(drawn.width() - 4, drawn.height() / 2), QColor(192, 192, 192));

  Click(form, "OkButton");
  EXPECT_FALSE(form.isVisible());
}

TEST(AboutBox, ShowsTheLoadedLibrarysVersionAndOkCloses) {
  TAboutBoxForm about;
  OnceShown(about, [&] {
    EXPECT_EQ(Text(about, "TheDllVersion"), "Utilizing Veritrak II DLL Version: 9");
    EXPECT_EQ(DLLVersion(), 9);
    Click(about, "OKButton");
  });
  EXPECT_EQ(about.exec(), QDialog::Accepted);
  const QLabel* icon = Child<QLabel>(about, "ProgramIcon");
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->pixmap().size(), QSize(64, 64));
}

TEST(SmallDialogs, UseArialOrItsMetricTwin) {
  TRadioDialog dialog;
  const QString family = QFontInfo(dialog.font()).family();
  EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
}

}  // namespace
}  // namespace quillon
