#include "about_box.h"

#include <probelink.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "dialog_frame.h"
#include "pictures.h"
#include "ui_font.h"

namespace quillon {

namespace {

// The logo's disc mark, without the word.
constexpr QRect kIconInLogo(0, 0, 64, 64);
const QColor kLogoRed(230, 20, 20);

QLabel* ProgramIcon(QWidget* parent) {
  auto* icon = new QLabel(parent);
  icon->setObjectName("ProgramIcon");
  icon->setGeometry(QRect(QPoint(14, 14), kIconInLogo.size()));
  icon->setPixmap(QPixmap::fromImage(Picture("Logo").copy(kIconInLogo)));
  return icon;
}

}  // namespace

TAboutBoxForm::TAboutBoxForm(QWidget* parent)
    : QDialog(parent), Panel1(new QFrame(this)), OKButton(new QPushButton("OK", this)) {
  setObjectName("AboutBoxForm");
  setWindowTitle("About Veritrak Software");
  ApplyDialogFrame(*this, {.clientSize = QSize(458, 278)});

  // Black with white text, like the main window.
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(8, 8, 442, 222);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setStyleSheet("QFrame#Panel1 { background: black; } QLabel { color: white; }");
  ProgramIcon(Panel1);

  QLabel* product =
      AddText("ProductName", "Veritrak II Software for Alignment Tool", QRect(92, 18, 340, 24));
  product->setFont(SansFont(17, true));
  product->setStyleSheet(QString("color: %1;").arg(kLogoRed.name()));
  AddText("Version", "Ver 1.0 (Build 1.27)", QRect(92, 44, 340, 20));
  AddText("Compatibility", "Compatible with Microsoft Windows 98/me/NT/2000/XP",
          QRect(92, 64, 340, 20));
  AddText("SuiteText", "Part of Veritrak II Software Suite 6", QRect(92, 84, 340, 20));
  AddText("MakerText", "Norvale Systems", QRect(16, 118, 410, 20));
  AddText("WebText", "Web: www.norvale-systems.example", QRect(16, 138, 410, 20));
  AddText("SupportText", "Support: support@norvale-systems.example", QRect(16, 158, 410, 20));
  TheDllVersion = AddText("TheDllVersion", {}, QRect(16, 190, 410, 20));

  OKButton->setObjectName("OKButton");
  OKButton->setGeometry(189, 240, 80, 27);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel* TAboutBoxForm::AddText(const char* name, const QString& text, QRect geometry) {
  auto* label = new QLabel(text, Panel1);
  label->setObjectName(name);
  label->setGeometry(geometry);
  return label;
}

void TAboutBoxForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(*this);
  TheDllVersion->setText("Utilizing Veritrak II DLL Version: " + QString::number(DLLVersion()));
}

}  // namespace quillon
