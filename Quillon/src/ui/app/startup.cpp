#include "startup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "main_form.h"

namespace quillon {

TStartup::TStartup(TMainForm& form)
    : QWidget(&form, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("Startup"));
  setFixedSize(390, 124);
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(34, 45, 321, 33);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(14);
  font.setBold(true);
  Label1->setFont(font);
  form.AttachSplash(this);
  form.show();
  form.SearchForElectronics();
}

void TStartup::ShowText(const QString& text) {
  Label1->setText(text);
  if (isVisible()) repaint();
}

void TStartup::ShowCentred() {
  const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
  move(desktop.center() - rect().center());
  show();
  raise();
  // The search blocks the event loop; let the window system map the splash
  // once so that the texts drawn into it are seen.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  repaint();
}

}  // namespace quillon
