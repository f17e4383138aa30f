// The small dialogs driven as a user drives them: real clicks and keys on the
// shown dialog, then what the caller gets back.
#include <probelink.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <functional>

#include "about_box.h"
#include "edit_dialog.h"
#include "info_form.h"
#include "radio_dialog.h"
#include "recording_questions.h"

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

// The ways out of the radio and text dialogs: OK by click or by Enter in the
// focused control, and the ways to cancel.
enum End { kOk, kEnter, kCancel, kEscape, kCloseBox };

void Finish(QDialog& dialog, End end) {
  if (end == kOk) ClickButton(dialog, "OKBtn");
  if (end == kEnter) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  if (end >= kCancel) Dismiss(dialog, kDismissals[end - kCancel], "CancelBtn");
}

// Each use starts from the caller's choice with the focus on it, so the arrow
// keys move it; only OK hands a choice back.
TEST(RadioDialog, OnlyOkHandsTheChoiceBack) {
  TRadioDialog dialog;
  const std::tuple<int, Qt::Key, End, std::optional<int>> cases[] = {
      {3, {}, kOk, 3},      {-1, Qt::Key_Down, kEnter, 2},   {-1, {}, kEnter, 1},
      {0, {}, kCancel, {}}, {-1, Qt::Key_Down, kEscape, {}}, {0, {}, kCloseBox, {}}};
  for (const auto& [click, key, end, chosen] : cases) {
    // Bindings are captured by name: clang before 16 cannot capture them.
    OnceShown(dialog, [&, click = click, key = key, end = end] {
      EXPECT_EQ(QApplication::focusWidget(), dialog.findChildren<QRadioButton*>().value(1));
      if (click >= 0) ClickItem(dialog, "RadioGroup1", click);
      if (key) QTest::keyClick(QApplication::focusWidget(), key);
      Finish(dialog, end);
    });
    EXPECT_EQ(dialog.Ask({"Output Frequency", {"7.2 MHz", "3.6 MHz", "1.8 MHz", "900 kHz"}, 1}),
              chosen);
  }
  // A new question brings its own items.
  OnceShown(dialog, [&] { Finish(dialog, kEnter); });
  EXPECT_EQ(dialog.Ask({"Engineering Display Settings", {"Enable", "Disable"}, 1}), 1);
  EXPECT_EQ(dialog.findChildren<QRadioButton*>().size(), 2);
}

// Each use shows the caller's value selected, so typing replaces it, and only
// the texts the caller gives; only OK hands the text back.
TEST(EditDialog, OnlyOkHandsTheTextBack) {
  TEditDialogForm dialog;
  // clang-format off
  const std::tuple<const char*, End, std::optional<QString>> cases[] = {
      {"4096", kOk, "4096"}, {"", kEnter, "1024"}, {"7", kCancel, {}}, {"7", kEscape, {}},
      {"7", kCloseBox, {}}};
  // clang-format on
  for (const auto& [typed, end, text] : cases) {
    OnceShown(dialog, [&, typed = typed, end = end] {
      EXPECT_EQ(Child<QLineEdit>(dialog, "EditBox")->text(), "1024");
      EXPECT_TRUE(Child<QLabel>(dialog, "Information")->isVisible());
      EXPECT_FALSE(Child<QLabel>(dialog, "StaticText2")->isVisible());
      QTest::keyClicks(QApplication::focusWidget(), typed);
      Finish(dialog, end);
    });
    EXPECT_EQ(dialog.Ask({"Interpolation Level", "1024", "Enter an integer between 4 and 4096",
                          "Warning:  Changing the interpolation level", ""}),
              text);
  }
}

// The information window shows what the electronics report (the type line
// only for the expected type), and the about box the version
// of the library actually loaded; OK, Escape and the close box close both.
TEST(InfoAndAboutBoxes, ShowTheirValuesUntilDismissed) {
  TInfoForm form;
  form.Fill({}, 1, 9600, false);
  EXPECT_EQ(Child<QLabel>(form, "ElectronicsTypeLabel")->text(), "Veritrak Electronics Type:  ");
  const DeviceInfo info{
      .mspVersion = 0x1a2b, .modelRegister = 0xc3, .powerOnHours = 1234, .powerOnCycles = 56};
  form.Fill(info, 5, 38400, true);
  QStringList shown;
  for (const char* box : {"ElectronicsTypeLabel", "ControllerVersionBox", "InterpVersionBox",
                          "PowerOnTimeBox", "PowerOnCyclesBox", "ComPort", "BaudRate"})
    shown << Child<QLabel>(form, box)->text();
  EXPECT_EQ(shown, QStringList({"Veritrak Electronics Type: Alignment Tool", "1A2B", "00C3",
                                "1234  hours", "56", "COM5", "38400"}));
  TAboutBoxForm about;
  for (Dismissal how : kDismissals) {
    form.show();
    about.show();
    EXPECT_EQ(form.focusWidget(), Child<QLabel>(form, "ElectronicsTypeLabel"));
    EXPECT_EQ(Child<QLabel>(about, "TheDllVersion")->text(),
              "Utilizing Veritrak II DLL Version: " + QString::number(DLLVersion()));
    Dismiss(form, how, "OkButton");
    Dismiss(about, how, "OKButton");
    EXPECT_FALSE(form.isVisible() || about.isVisible());
  }
}

}  // namespace
}  // namespace quillon
