// The engineering display driven by clicks and keys: the survey texts land in
// the boxes their labels name, and only six hexadecimal digits become a
// write request.
#include "engineering_display.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "recording_questions.h"

namespace quillon {
namespace {

const QString kInvalid =
    "Invalid Address entered.  Make sure the address is 6 hex characters in length";

class EngineeringDisplayTest : public ::testing::Test {
 protected:
  EngineeringDisplayTest() : display(questions) {
    display.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&display));
  }

  // Types `text` into the write box as a user would and presses Write.
  void Write(const QString& text) {
    auto* box = Child<QLineEdit>(display, "writedatabox");
    box->clear();
    QTest::keyClicks(box, text);
    QTest::mouseClick(Child<QPushButton>(display, "writedatabutton"), Qt::LeftButton);
  }

  RecordingQuestions questions;
  TEngineeringDisplay display;
};

// The label left of a box in its row.
QString LabelBeside(const QWidget& box) {
  const QLabel* nearest = nullptr;
  for (const QLabel* label : box.parentWidget()->findChildren<QLabel*>()) {
    const QRect r = label->geometry();
    if (r.right() > box.x() || qAbs(r.center().y() - box.geometry().center().y()) > 4) continue;
    if (!nearest || r.x() > nearest->x()) nearest = label;
  }
  return nearest ? nearest->text() : QString();
}

TEST_F(EngineeringDisplayTest, EachEntryLandsInTheBoxItsLabelNames) {
  QStringList pass;
  for (int i = 0; i < TEngineeringDisplay::kEntryCount; ++i) pass << QString("E%1").arg(i);
  display.ShowRegisterPass(pass);

  struct Expected {
    const char* box;
    int entry;
    const char* label;
  };
  for (const Expected& e :
       {Expected{"genreg0box", 0, "GenReg0 Addr 00"}, Expected{"gainxbox", 10, "GainX  Addr 10"},
        Expected{"angle110box", 20, "Angle 29:28 Addr 29"},
        Expected{"angle2928box", 22, "Angle 11:0 Addr 27"},
        Expected{"negativeindexbox", 25, "IWNeg Edge Addr 2C"},
        Expected{"poweroncyclesbox", 28, "Power On Cycles"},
        Expected{"positionbox", 29, "Position"}}) {
    const auto* box = Child<QLineEdit>(display, e.box);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), pass[e.entry]) << e.box;
    EXPECT_EQ(LabelBeside(*box), e.label) << e.box;
    EXPECT_TRUE(box->isReadOnly()) << e.box;
  }
}

TEST_F(EngineeringDisplayTest, AShortPassLeavesTheLaterBoxesAlone) {
  display.ShowRegisterPass({"0001"});
  display.ShowRegisterPass({"0002"});
  EXPECT_EQ(Child<QLineEdit>(display, "genreg0box")->text(), "0002");
  EXPECT_EQ(Child<QLineEdit>(display, "statefreqbox")->text(), "");
}

TEST_F(EngineeringDisplayTest, WritesStartDisabled) {
  EXPECT_FALSE(Child<QPushButton>(display, "writedatabutton")->isEnabled());
  QSignalSpy requests(&display, &TEngineeringDisplay::WriteRequested);
  Write("830030");
  EXPECT_EQ(requests.count(), 0);
  EXPECT_TRUE(questions.asked.isEmpty());
}

TEST_F(EngineeringDisplayTest, SixHexDigitsOfEitherCaseBecomeTheWord) {
  display.SetWritesEnabled(true);
  QSignalSpy requests(&display, &TEngineeringDisplay::WriteRequested);
  const std::pair<const char*, uint32_t> cases[] = {
      {"830030", 0x830030u}, {"8aBcDf", 0x8ABCDFu}, {"ffffff", 0xFFFFFFu}, {"000000", 0u}};
  for (const auto& [text, word] : cases) {
    Write(text);
    ASSERT_EQ(requests.count(), 1) << text;
    EXPECT_EQ(requests.takeFirst()[0].value<uint32_t>(), word) << text;
    EXPECT_EQ(display.WriteWord(), word) << text;
  }
  EXPECT_TRUE(questions.asked.isEmpty());
}

TEST_F(EngineeringDisplayTest, AnythingButSixHexDigitsIsRefusedWithTheMessage) {
  display.SetWritesEnabled(true);
  Write("830031");
  QSignalSpy requests(&display, &TEngineeringDisplay::WriteRequested);
  const QStringList bad{"83003", "8300301", "", "83003g", " 83003", "8300 3", "-83003", "0x8300"};
  for (const QString& text : bad) Write(text);
  EXPECT_EQ(requests.count(), 0);
  ASSERT_EQ(questions.asked.size(), bad.size());
  for (const Question& question : questions.asked) {
    EXPECT_EQ(question.text, kInvalid);
    EXPECT_EQ(question.answers, QList<Answer>{Answer::Ok});
  }
  EXPECT_EQ(display.WriteWord(), 0x830031u) << "a refused text keeps the last word";
}

TEST_F(EngineeringDisplayTest, TheEnabledStateOutlivesAClose) {
  display.SetWritesEnabled(true);
  display.close();
  display.show();
  EXPECT_TRUE(display.WritesEnabled());
}

TEST_F(EngineeringDisplayTest, TheCloseBoxAndEscapeBothReportTheClose) {
  QSignalSpy closed(&display, &TEngineeringDisplay::Closed);
  QSignalSpy opened(&display, &TEngineeringDisplay::Opened);
  display.close();
  EXPECT_EQ(closed.count(), 1);
  display.show();
  EXPECT_EQ(opened.count(), 1);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&display));
  QTest::keyClick(&display, Qt::Key_Escape);
  EXPECT_EQ(closed.count(), 2);
  EXPECT_FALSE(display.isVisible());
}

}  // namespace
}  // namespace quillon
