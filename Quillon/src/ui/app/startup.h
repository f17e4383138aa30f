// The small always-on-top window that tells what the program is doing while
// the search for the electronics or the shutdown blocks the main window.
#pragma once

#include <QWidget>

class QLabel;

namespace quillon {

class TMainForm;

class TStartup : public QWidget {
  Q_OBJECT
 public:
  // Shows the main window and runs its search for the electronics before
  // returning, as the program's start-up asks.
  explicit TStartup(TMainForm& form);

  // Sets the label and draws it at once: the event loop does not run while
  // the search blocks.
  void ShowText(const QString& text);
  void ShowCentred();

  QLabel* Label1;
};

}  // namespace quillon
