#include "engineering_display.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "dialog_frame.h"
#include "questions.h"

namespace quillon {

namespace {

struct RegisterBox {
  const char* name;
  const char* label;
  int row;     // 0 is the controller row below the write row
  int column;  // 1 to 4
};

// In the order of the survey's entries. The angle boxes keep names that do
// not match their contents; their labels say what they show.
constexpr RegisterBox kBoxes[TEngineeringDisplay::kEntryCount] = {
    {"genreg0box", "GenReg0 Addr 00", 1, 1},
    {"statefreqbox", "Addr 02", 1, 2},
    {"interpdepthbox", "Addr 03", 1, 3},
    {"indexanglebox", "Addr 04", 1, 4},
    {"indexanglefdbox", "Offset Test Addr 05", 2, 1},
    {"overspeedbox", "Addr 06", 2, 2},
    {"lowlevelbox", "Addr 07", 2, 3},
    {"redalarmbox", "Red Alrm Addr 08", 2, 4},
    {"yellowalarmbox", "Yellow Alrm Addr 09", 3, 1},
    {"greenlobox", "GreenLo Addr 0A", 3, 2},
    {"gainxbox", "GainX  Addr 10", 3, 3},
    {"offsetxbox", "OffsetX Addr 11", 3, 4},
    {"gainybox", "GainY Addr 12", 4, 1},
    {"offsetybox", "OffsetY Addr 13", 4, 2},
    {"phasebox", "Phase Addr 14", 4, 3},
    {"versionbox", "Version Addr 20", 4, 4},
    {"statusbox", "Status Addr 21", 5, 1},
    {"yadbox", "yAD Addr 24", 5, 2},
    {"xadbox", "xAD Addr 25", 5, 3},
    {"magbox", "Mag Addr 26", 5, 4},
    {"angle110box", "Angle 29:28 Addr 29", 6, 1},
    {"angle2712box", "Angle 27:12 Addr 28", 6, 2},
    {"angle2928box", "Angle 11:0 Addr 27", 6, 3},
    {"intanglebox", "IntAngle Addr 2A", 6, 4},
    {"positiveindexbox", "IWPos Edge Addr 2B", 7, 2},
    {"negativeindexbox", "IWNeg Edge Addr 2C", 7, 3},
    {"mspversionbox", "MSP Version", 0, 1},
    {"powerontimebox", "Power On Time", 0, 2},
    {"poweroncyclesbox", "Power On Cycles", 0, 3},
    {"positionbox", "Position", 7, 1},
};

constexpr int kWordDigits = 6;

// Exactly six hexadecimal digits of either case; blanks, signs and prefixes
// are not digits.
std::optional<uint32_t> ParseWriteWord(const QString& text) {
  if (text.size() != kWordDigits) return std::nullopt;
  uint32_t word = 0;
  for (QChar c : text) {
    const int digit = QStringView(u"0123456789abcdef").indexOf(c.toLower());
    if (digit < 0) return std::nullopt;
    word = word * 16 + static_cast<uint32_t>(digit);
  }
  return word;
}

QLabel* Text(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setStyleSheet("color: white;");
  return label;
}

QFrame* Separator(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

TEngineeringDisplay::TEngineeringDisplay(Questions& questions, QWidget* parent)
    : QDialog(parent),
      questions_(questions),
      writedatabox(new QLineEdit(this)),
      writedatabutton(new QPushButton("Write ", this)) {
  setObjectName("TEngineeringDisplay");
  setWindowTitle("Veritrak II Software Engineering Display");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  QPalette blue = palette();
  blue.setColor(QPalette::Window, QColor(0, 64, 128));
  setPalette(blue);
  setAutoFillBackground(true);

  auto* registers = new QGridLayout;
  auto* controller = new QGridLayout;
  for (const RegisterBox& spec : kBoxes) {
    auto* box = new QLineEdit(this);
    box->setObjectName(spec.name);
    box->setReadOnly(true);
    box->setMinimumWidth(90);
    QGridLayout* grid = spec.row == 0 ? controller : registers;
    grid->addWidget(Text(spec.label, this), spec.row, 2 * spec.column - 2, Qt::AlignRight);
    grid->addWidget(box, spec.row, 2 * spec.column - 1);
    boxes_ << box;
  }

  writedatabox->setObjectName("writedatabox");
  writedatabutton->setObjectName("writedatabutton");
  writedatabutton->setAutoDefault(false);
  writedatabutton->setEnabled(false);
  auto* writeRow = new QHBoxLayout;
  writeRow->addWidget(
      Text("Enter 6 digit Hex number representing Address and Data to write", this));
  writeRow->addWidget(writedatabox);
  writeRow->addWidget(writedatabutton);
  writeRow->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Text("Close This Window to Return to Previous Display", this));
  layout->addWidget(Text("Data Register Values in Hex:", this));
  layout->addLayout(registers);
  layout->addWidget(Separator(this));
  layout->addLayout(writeRow);
  layout->addWidget(Separator(this));
  layout->addWidget(Text("Controller Register Values in Hex:", this));
  layout->addLayout(controller);

  connect(writedatabutton, &QPushButton::clicked, this, &TEngineeringDisplay::writedatabuttonClick);
  // Both the close box and Escape end in QDialog::done().
  connect(this, &QDialog::finished, this, &TEngineeringDisplay::Closed);
}

void TEngineeringDisplay::ShowRegisterPass(const QStringList& texts) {
  const qsizetype count = std::min<qsizetype>(texts.size(), boxes_.size());
  for (qsizetype i = 0; i < count; ++i) boxes_[i]->setText(texts[i]);
}

void TEngineeringDisplay::SetWritesEnabled(bool enabled) { writedatabutton->setEnabled(enabled); }

bool TEngineeringDisplay::WritesEnabled() const { return writedatabutton->isEnabled(); }

void TEngineeringDisplay::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(*this);
  emit Opened();
}

void TEngineeringDisplay::writedatabuttonClick() {
  const std::optional<uint32_t> word = ParseWriteWord(writedatabox->text());
  if (!word) {
    AskUntilAnswered(questions_,
                     {QuestionKind::Error,
                      "Invalid Address entered.  Make sure the address is 6 hex characters in "
                      "length",
                      {Answer::Ok}});
    return;
  }
  writeWord_ = *word;
  emit WriteRequested(writeWord_);
}

}  // namespace quillon
