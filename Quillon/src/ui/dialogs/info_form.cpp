#include "info_form.h"

#include <QLabel>
#include <QPushButton>

#include "dialog_frame.h"

namespace quillon {

namespace {

constexpr int kLabelLeft = 16;
constexpr int kLabelWidth = 180;
constexpr int kBoxLeft = 200;
constexpr int kBoxWidth = 112;
constexpr int kRowHeight = 22;

QString Hex4(uint32_t value) { return QString("%1").arg(value, 4, 16, QChar('0')).toUpper(); }

}  // namespace

TInfoForm::TInfoForm(QWidget* parent)
    : QDialog(parent),
      ElectronicsTypeLabel(AddLabel("ElectronicsTypeLabel", "Veritrak Electronics Type:  ", 20)),
      ControllerVersionBox(AddValueBox("ControllerVersionBox", 64, true)),
      InterpVersionBox(AddValueBox("InterpVersionBox", 100, true)),
      PowerOnTimeBox(AddValueBox("PowerOnTimeBox", 136, true)),
      PowerOnCyclesBox(AddValueBox("PowerOnCyclesBox", 172, true)),
      ComPort(AddValueBox("ComPort", 220, false)),
      BaudRate(AddValueBox("BaudRate", 256, false)),
      OkButton(new QPushButton("OK", this)) {
  setObjectName("InfoForm");
  setWindowTitle("Veritrak Electronics Information");
  ApplyDialogFrame(*this, {.clientSize = QSize(328, 343), .stayOnTop = true});

  ElectronicsTypeLabel->resize(296, kRowHeight);
  ElectronicsTypeLabel->setFocusPolicy(Qt::StrongFocus);
  AddLabel("ControllerVersionLabel", "Veritrak Controller Version:", 64);
  AddLabel("InterpVersionLabel", "Veritrak Interpolator Version:", 100);
  AddLabel("PowerOnTimeLabel", "Veritrak Power on Time:", 136);
  AddLabel("PowerOnCyclesLabel", "Veritrak Power on Cycles:", 172);
  AddLabel("StaticText1", "COM Port:", 220);
  AddLabel("StaticText2", "Baud Rate:", 256);

  OkButton->setObjectName("OkButton");
  OkButton->setGeometry(124, 302, 80, 27);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel* TInfoForm::AddLabel(const char* name, const QString& text, int top) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  label->setGeometry(kLabelLeft, top, kLabelWidth, kRowHeight);
  return label;
}

QLabel* TInfoForm::AddValueBox(const char* name, int top, bool silver) {
  auto* box = new QLabel(this);
  box->setObjectName(name);
  box->setGeometry(kBoxLeft, top, kBoxWidth, kRowHeight);
  box->setIndent(4);
  if (silver) {
    // A plain line: a sunken panel's light edges vanish on the light dialog.
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    palette.setColor(QPalette::WindowText, Qt::black);
    box->setPalette(palette);
  }
  return box;
}

void TInfoForm::Fill(const DeviceInfo& info, int32_t port, uint32_t baud, bool typeKnown) {
  if (typeKnown) ElectronicsTypeLabel->setText("Veritrak Electronics Type: Alignment Tool");
  ControllerVersionBox->setText(Hex4(static_cast<uint32_t>(info.mspVersion)));
  InterpVersionBox->setText(Hex4(info.modelRegister));
  PowerOnTimeBox->setText(QString::number(info.powerOnHours) + "  hours");
  PowerOnCyclesBox->setText(QString::number(info.powerOnCycles));
  ComPort->setText("COM" + QString::number(port));
  BaudRate->setText(QString::number(baud));
}

void TInfoForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(*this);
  ElectronicsTypeLabel->setFocus(Qt::OtherFocusReason);
}

}  // namespace quillon
