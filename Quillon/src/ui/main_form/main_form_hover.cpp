// The button under the mouse takes the highlight font of BitBtn2 and every
// other button the normal font of BitBtn1; over the window, the plot and
// the status texts all of them are normal.
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <array>

#include "canvas_widgets.h"
#include "main_form.h"

namespace quillon {
namespace {

std::array<SpeedButton*, 13> HoverButtons(const TMainForm& f) {
  return {f.AcquireButton,      f.StopButton,          f.ReviewButton,
          f.FastButton,         f.CenterIndexButton,   f.SetInterpolationButton,
          f.SetFrequencyButton, f.EncoderSignalButton, f.SignalStrengthButton,
          f.PositionButton,     f.ResetAlarmsButton,   f.AlarmHistoryButton,
          f.ResetPositionButton};
}

bool IsHoverButton(const TMainForm& form, const QWidget* widget) {
  const auto buttons = HoverButtons(form);
  return std::find(buttons.begin(), buttons.end(), widget) != buttons.end();
}

}  // namespace

// A move over a widget without tracking is dropped; these pass theirs on to
// the surface.
void TMainForm::TrackHover() {
  for (SpeedButton* button : HoverButtons(*this)) {
    button->setMouseTracking(true);
    button->installEventFilter(this);
  }
  for (QWidget* quiet : std::initializer_list<QWidget*>{
           GraphBox, IndexText, InterpolationText, YellowAlarmText, RedAlarmText, OverSignalText,
           UnitsBox, TimeText2, TimeText, DataAcquisitionText})
    quiet->setMouseTracking(true);
  surface->setMouseTracking(true);
  surface->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    if (watched == surface) {
      // A button passes its move on to the surface after highlighting itself.
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      if (!IsHoverButton(*this, surface->childAt(at))) HighlightButton(nullptr);
    } else {
      HighlightButton(qobject_cast<QWidget*>(watched));
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::HighlightButton(const QWidget* hot) {
  for (SpeedButton* button : HoverButtons(*this)) {
    const QFont& font = (button == hot ? BitBtn2 : BitBtn1)->font();
    if (button->font() != font) button->setFont(font);
  }
}

}  // namespace quillon
