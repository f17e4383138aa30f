#include "dialog_frame.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include "ui_font.h"

namespace quillon {

namespace {
constexpr int kDialogFontPixels = 13;
}

void ApplyDialogFrame(QDialog& dialog, const DialogFrame& frame) {
  Qt::WindowFlags flags =
      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;
  if (frame.closeButton) flags |= Qt::WindowCloseButtonHint;
  if (frame.stayOnTop) flags |= Qt::WindowStaysOnTopHint;
  dialog.setWindowFlags(flags);
  dialog.setFixedSize(frame.clientSize);
  dialog.setFont(SansFont(kDialogFontPixels));
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect placed(QPoint(), window.size());
  placed.moveCenter(screen->availableGeometry().center());
  window.move(placed.topLeft());
}

}  // namespace quillon
