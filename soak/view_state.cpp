#include "view_state.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

#include "engineering_display.h"
#include "main_form.h"

namespace soak {

using namespace quillon;

bool Live(const TMainForm& form, int view) {
  const ComData* connection = form.Connection.get();
  if (!connection || form.DemoMode || form.CurrentView != view) return false;
  for (int other = StatusView; other <= PositionView; ++other)
    if (other != view && connection->ThreadActive[other]) return false;
  if (view == EngineeringView)
    return connection->ThreadRunning && form.EngineeringDisplay->isVisible();
  return connection->ThreadActive[view];
}

bool Ready(const TMainForm& form, int view) {
  return Live(form, view) && form.Lissajous1->isEnabled();
}

QString ShownData(const TMainForm& form, int view) {
  switch (view) {
    case StatusView:
      return form.EncoderPositionText->text();
    case EngineeringView: {
      QString texts;
      for (const QLineEdit* box : form.EngineeringDisplay->findChildren<QLineEdit*>())
        texts += box->text() + u' ';
      return texts;
    }
    default:
      return form.TimeText2->text();
  }
}

}  // namespace soak
