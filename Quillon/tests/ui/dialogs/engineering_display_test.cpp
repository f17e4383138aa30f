// The engineering display as a technician uses it: the survey texts land in
// their boxes, only six hexadecimal digits typed into the write box become a
// write request, and leaving the window is reported.
#include "engineering_display.h"

#include <QSignalSpy>
#include <optional>

#include "recording_questions.h"

namespace quillon {
namespace {

const QString kInvalid =
    "Invalid Address entered.  Make sure the address is 6 hex characters in length";

class EngineeringDisplayTest : public ::testing::Test {
 protected:
  EngineeringDisplayTest() { display.show(); }

  RecordingQuestions questions;
  TEngineeringDisplay display{questions};
  QSignalSpy requests{&display, &TEngineeringDisplay::WriteRequested};
};

// The angle boxes' names do not follow their contents; their labels do.
TEST_F(EngineeringDisplayTest, EachEntryLandsInItsBox) {
  QStringList pass;
  for (int i = 0; i < TEngineeringDisplay::kEntryCount; ++i) pass << QString("E%1").arg(i);
  display.ShowRegisterPass(pass);
  const std::pair<const char*, int> boxes[] = {
      {"genreg0box", 0}, {"angle110box", 20}, {"angle2928box", 22}, {"positionbox", 29}};
  for (const auto& [name, entry] : boxes)
    EXPECT_EQ(Child<QLineEdit>(display, name)->text(), pass[entry]) << name;
}

// Typed into the write box and sent with the Write button, which starts
// disabled: the word, or the message and the last word kept. Escape and the
// close box report the close, and writes stay enabled for the next opening.
TEST_F(EngineeringDisplayTest, OnlySixHexDigitsBecomeTheWordUntilClosed) {
  const std::pair<const char*, std::optional<uint32_t>> cases[] = {
      {"830030", 0x830030u}, {"123456", 0x123456u}, {"789aBc", 0x789ABCu}, {"DEF0ff", 0xDEF0FFu},
      {"000000", 0u},        {"83003", {}},         {"8300301", {}},       {"", {}},
      {"83003g", {}},        {" 83003", {}},        {"8300 3", {}},        {"-83003", {}},
      {"0x8300", {}}};
  Retype(Child<QLineEdit>(display, "writedatabox"), "830030");
  ClickButton(display, "writedatabutton");
  EXPECT_TRUE(requests.isEmpty()) << "writes start disabled";
  display.SetWritesEnabled(true);
  uint32_t last = 0;
  for (const auto& [text, word] : cases) {
    questions.asked.clear();
    Retype(Child<QLineEdit>(display, "writedatabox"), text);
    ClickButton(display, "writedatabutton");
    last = word.value_or(last);
    const auto sent =
        requests.isEmpty() ? std::optional<uint32_t>() : requests.takeFirst()[0].value<uint32_t>();
    EXPECT_EQ(sent, word) << text;
    EXPECT_EQ(display.WriteWord(), last) << text;
    EXPECT_EQ(questions.FirstText(), word ? "" : kInvalid) << text;
  }
  QSignalSpy closed(&display, &TEngineeringDisplay::Closed);
  QSignalSpy opened(&display, &TEngineeringDisplay::Opened);
  for (Dismissal how : {Dismissal::Escape, Dismissal::CloseBox}) {
    Dismiss(display, how, nullptr);
    EXPECT_FALSE(display.isVisible());
    display.show();
  }
  EXPECT_EQ(std::tuple(closed.size(), opened.size()), std::tuple(2, 2));
  EXPECT_TRUE(display.WritesEnabled()) << "the enabled state outlives a close";
}

}  // namespace
}  // namespace quillon
