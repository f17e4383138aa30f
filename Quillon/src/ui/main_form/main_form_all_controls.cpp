// The controls this window design hides, shown on request. Their handlers
// work and their enabled states follow the modes while they are hidden, so
// showing them is all there is to do.
#include <QAction>
#include <QLabel>
#include <QMenu>

#include "canvas_widgets.h"
#include "main_form.h"

namespace quillon {

void TMainForm::ShowAllControls() {
  if (allControls_) return;
  allControls_ = true;
  const QList<QAction*> items{Loaddata1,      Savedata1,         Encoder1,
                              Resetalarms1,   ResetDataBuffers1, SearchForElectronics1,
                              Interpolation1, Bandwidth1,        LocateIndex1,
                              Zeroposition1,  HardwareReset1};
  // Latest hidden first, so that an item hidden before its neighbour finds
  // that neighbour back in place.
  for (auto place = hiddenPlaces_.rbegin(); place != hiddenPlaces_.rend(); ++place)
    if (items.contains(place->item)) place->menu->insertAction(place->before, place->item);
  // The data bar's time box shows where a replay stands.
  for (QWidget* control :
       std::initializer_list<QWidget*>{DataAcquisitionText, AcquireButton, StopButton, ReviewButton,
                                       FastButton, TimeText, TimeText2})
    control->show();
  if (CurrentView == StatusView) ShowStatusPageExtras();
}

// Only on the status page: a plot page hides it with the rest of the status
// panel. SetInterpolationButton stays hidden: its place holds the Encoder
// Position button, and Settings > Interpolation... carries its command.
void TMainForm::ShowStatusPageExtras() {
  if (allControls_) AlarmHistoryButton->show();
}

}  // namespace quillon
