#include "views.h"

#include <QApplication>
#include <QTest>

#include "canvas_widgets.h"
#include "engineering_display.h"
#include "main_form.h"

namespace soak {
namespace {

using quillon::TMainForm;

// The offscreen platform leaves the hidden splash active after a search:
// the key goes to the window a person would have in front of them.
Hop Key(Qt::Key key, int view) {
  return {[key](TMainForm& form) {
            QApplication::setActiveWindow(&form);
            QTest::keyClick(&form, key);
          },
          view};
}

Hop ClickPositionButton() {
  return {[](TMainForm& form) { QTest::mouseClick(form.PositionButton, Qt::LeftButton); },
          quillon::PositionView};
}

Hop EscapeEngineeringDisplay(int backTo) {
  return {[](TMainForm& form) { QTest::keyClick(form.EngineeringDisplay, Qt::Key_Escape); },
          backTo};
}

}  // namespace

// F2 on the status page itself does nothing, so the round may begin there.
const std::vector<SoakView>& RoundOfViews() {
  using namespace quillon;
  static const std::vector<SoakView> views{
      {"Status and Setup", StatusView, {Key(Qt::Key_F2, StatusView)}, {}},
      {"Encoder Signal", SignalView, {Key(Qt::Key_F3, SignalView)}, {}},
      {"Signal Strength", StrengthView, {Key(Qt::Key_F4, StrengthView)}, {}},
      {"Encoder Position", PositionView, {Key(Qt::Key_F2, StatusView), ClickPositionButton()}, {}},
      {"Engineering Display",
       EngineeringView,
       {Key(Qt::Key_F6, EngineeringView)},
       EscapeEngineeringDisplay(PositionView)},
  };
  return views;
}

}  // namespace soak
