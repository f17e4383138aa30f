// The frame shared by the program's small dialogs: a fixed client size that
// the user cannot resize, the dialog font, and placement in the middle of the
// screen rather than over the main window.
#pragma once

#include <QSize>

class QDialog;
class QWidget;

namespace quillon {

struct DialogFrame {
  QSize clientSize;
  bool stayOnTop = false;
  bool closeButton = true;  // false: title bar without system buttons
};

void ApplyDialogFrame(QDialog& dialog, const DialogFrame& frame);
void CentreOnScreen(QWidget& window);

}  // namespace quillon
