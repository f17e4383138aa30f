#include "encoder_setup_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <initializer_list>

#include "dialog_frame.h"
#include "number_format.h"
#include "questions.h"
#include "radio_group.h"
#include "text_scan.h"

namespace quillon {

namespace {

enum EncoderUnitTypes { kLinear = 0, kEncoderCounts = 1 };

const QStringList kLinearUnits{"nanometers", "microns", "mm", "microinches", "mils", "inches"};
const QStringList kCountUnits{"counts"};
const Settings kBuiltIn;

// "20,000": digit groups as the grating descriptions write counts; a count
// too long for the precision stays in scientific form without groups.
QString WithThousands(int32_t counts) {
  QString text = FormatFixed(counts, 8, 0);
  if (text.contains('E')) return text;
  for (qsizetype at = text.size() - 3; at > 0 && text[at - 1].isDigit(); at -= 3) {
    text.insert(at, ',');
  }
  return text;
}

bool PositiveNumber(const QString& text, float& value) {
  return ParseFloat(text.toUtf8(), value) && std::isfinite(value) && value > 0;
}

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
  for (QWidget* widget : widgets) widget->setEnabled(enabled);
}

}  // namespace

void TakeEncoderFields(Settings& into, const Settings& from) {
  into.EncoderUnitType = from.EncoderUnitType;
  into.DisplayUnitType = from.DisplayUnitType;
  into.DisplayUnits = from.DisplayUnits;
  into.GratingNames = from.GratingNames;
  into.GratingCounts = from.GratingCounts;
  into.GratingIndex = from.GratingIndex;
  into.SelectedGratingCounts = from.SelectedGratingCounts;
}

TEncoderSetupForm::TEncoderSetupForm(Questions& questions, QWidget* parent)
    : QDialog(parent),
      questions_(questions),
      encoderunittypegroup(new RadioGroup("Encoder Unit Type", this)),
      unittypegroup(new RadioGroup("Units to Display", this)),
      gratingpitchmemo(new QLabel("grating pitch (um)", this)),
      gratingpitchbox(new QLineEdit(this)),
      GroupBox1(new QGroupBox("Rotary Grating Configuration", this)),
      opticaldiametermemo(new QLabel("Gratings", GroupBox1)),
      opticaldiameterbox(new QComboBox(GroupBox1)),
      RadioButton1(new QCheckBox("Configure Custom Grating", GroupBox1)),
      Label1(new QLabel("Grating Size in mm", GroupBox1)),
      gratingsizebox(new QLineEdit(GroupBox1)),
      Label2(new QLabel("Counts Per Rev (CPR)", GroupBox1)),
      fprbox(new QLineEdit(GroupBox1)),
      addgratingbutton(new QPushButton("Add Custom Grating", GroupBox1)),
      Button1(new QPushButton("Remove All Custom Gratings", this)),
      applybutton(new QPushButton("Apply", this)),
      BitBtn2(new QPushButton("Cancel", this)) {
  setObjectName("TEncoderSetupForm");
  setWindowTitle("Encoder Setup");
  ApplyDialogFrame(*this, {.clientSize = QSize(562, 342), .stayOnTop = true});

  encoderunittypegroup->setObjectName("encoderunittypegroup");
  encoderunittypegroup->setGeometry(8, 8, 170, 80);
  encoderunittypegroup->SetItems({"Linear", "Encoder Counts"});
  unittypegroup->setObjectName("unittypegroup");
  unittypegroup->setGeometry(8, 96, 170, 200);
  unittypegroup->SetItems({"Linear", "Rotary", "Counts Only"});
  gratingpitchmemo->setObjectName("gratingpitchmemo");
  gratingpitchmemo->setGeometry(190, 14, 130, 22);
  gratingpitchbox->setObjectName("gratingpitchbox");
  gratingpitchbox->setGeometry(325, 12, 90, 24);

  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(190, 46, 364, 210);
  GroupBox1->hide();
  opticaldiametermemo->setObjectName("opticaldiametermemo");
  opticaldiametermemo->setGeometry(10, 26, 80, 22);
  opticaldiameterbox->setObjectName("opticaldiameterbox");
  opticaldiameterbox->setGeometry(90, 24, 264, 26);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton1->setGeometry(10, 60, 250, 22);
  Label1->setObjectName("Label1");
  Label1->setGeometry(10, 92, 160, 22);
  gratingsizebox->setObjectName("gratingsizebox");
  gratingsizebox->setGeometry(175, 90, 100, 24);
  Label2->setObjectName("Label2");
  Label2->setGeometry(10, 124, 160, 22);
  fprbox->setObjectName("fprbox");
  fprbox->setGeometry(175, 122, 100, 24);
  addgratingbutton->setObjectName("addgratingbutton");
  addgratingbutton->setGeometry(10, 164, 170, 30);

  Button1->setObjectName("Button1");
  Button1->setGeometry(190, 264, 220, 28);
  Button1->hide();
  applybutton->setObjectName("applybutton");
  applybutton->setGeometry(190, 304, 90, 28);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn2->setGeometry(300, 304, 90, 28);
  for (QPushButton* button : {addgratingbutton, Button1, applybutton, BitBtn2}) {
    button->setAutoDefault(false);
  }

  connect(encoderunittypegroup, &RadioGroup::Clicked, this,
          &TEncoderSetupForm::encoderunittypegroupClick);
  connect(RadioButton1, &QCheckBox::toggled, this, &TEncoderSetupForm::checkboxstatus);
  connect(addgratingbutton, &QPushButton::clicked, this, &TEncoderSetupForm::addgratingbuttonClick);
  connect(Button1, &QPushButton::clicked, this, &TEncoderSetupForm::Button1Click);
  connect(applybutton, &QPushButton::clicked, this, &TEncoderSetupForm::applybuttonClick);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
  connect(gratingpitchbox, &QLineEdit::returnPressed, applybutton,
          [this] { applybutton->setFocus(Qt::OtherFocusReason); });
}

void TEncoderSetupForm::Open(const Settings& settings, float gratingPitch) {
  settings_ = settings;
  pitch_ = gratingPitch;
  Fill();
  show();
  raise();
  activateWindow();
}

void TEncoderSetupForm::Fill() {
  encoderunittypegroup->SetItemIndex(settings_.EncoderUnitType);
  encoderunittypegroupClick(settings_.EncoderUnitType);
  opticaldiameterbox->clear();
  opticaldiameterbox->addItems(settings_.GratingNames);
  const bool known =
      settings_.GratingIndex >= 0 && settings_.GratingIndex < opticaldiameterbox->count();
  opticaldiameterbox->setCurrentIndex(known ? settings_.GratingIndex : 0);
  gratingpitchbox->setText(FormatFixed(pitch_, 4, 2));
  checkboxstatus();
}

void TEncoderSetupForm::encoderunittypegroupClick(int index) {
  const bool linear = index == kLinear;
  const QStringList& units = linear ? kLinearUnits : kCountUnits;
  unittypegroup->SetItems(units);
  const int chosen = settings_.DisplayUnitType;
  unittypegroup->SetItemIndex(linear && kDisplayUnitTypeRange.Holds(chosen) ? chosen : 0);
  unittypegroup->setEnabled(linear);
  SetGratingControlsEnabled(false);
  // A linear scale is measured by its pitch, so the user must be able to say it.
  SetEnabled({gratingpitchbox, gratingpitchmemo}, linear);
}

void TEncoderSetupForm::SetGratingControlsEnabled(bool enabled) {
  SetEnabled({opticaldiametermemo, opticaldiameterbox, gratingpitchbox, gratingpitchmemo,
              RadioButton1, addgratingbutton, fprbox, gratingsizebox, Label1, Label2},
             enabled);
}

void TEncoderSetupForm::checkboxstatus() {
  SetEnabled({addgratingbutton, fprbox, gratingsizebox, Label1, Label2}, RadioButton1->isChecked());
}

void TEncoderSetupForm::addgratingbuttonClick() {
  int32_t counts = 0;
  if (!CustomGratingChecked(counts)) return;
  settings_.GratingCounts.append(counts);
  opticaldiameterbox->addItem(" " + gratingsizebox->text().trimmed() + "mm - " +
                              WithThousands(counts) + " CPR at x4 interp");
  RadioButton1->setChecked(false);
  opticaldiameterbox->setCurrentIndex(opticaldiameterbox->count() - 1);
  applybutton->setFocus(Qt::OtherFocusReason);
}

bool TEncoderSetupForm::CustomGratingChecked(int32_t& counts) {
  if (fprbox->text().isEmpty() || gratingsizebox->text().isEmpty()) {
    Refuse("Values must be input for all custom grating fields");
    return false;
  }
  if (settings_.GratingCounts.size() >= kMaxGratings) {
    Refuse(QString("The grating list is full: it holds at most %1 gratings. Remove the custom "
                   "gratings to add new ones.")
               .arg(kMaxGratings));
    return false;
  }
  float size = 0;
  if (!PositiveNumber(gratingsizebox->text(), size)) {
    Refuse(QString("\"%1\" is not a grating size. Enter the size in mm as a number above 0.")
               .arg(gratingsizebox->text()));
    return false;
  }
  // Any whole number is a count: the table only names and shows them.
  if (!ParseInt32(fprbox->text().toUtf8(), counts)) {
    Refuse(QString("\"%1\" is not a count. Enter the counts per revolution as a whole number.")
               .arg(fprbox->text()));
    return false;
  }
  return true;
}

void TEncoderSetupForm::Button1Click() {
  settings_.GratingCounts = kBuiltIn.GratingCounts;
  settings_.GratingNames = kBuiltIn.GratingNames;
  // A custom grating that was selected is gone.
  if (settings_.GratingIndex >= settings_.GratingCounts.size()) settings_.GratingIndex = 0;
  settings_.SelectedGratingCounts = settings_.GratingCounts[settings_.GratingIndex];
  emit GratingsReset(settings_);
  Fill();
}

void TEncoderSetupForm::applybuttonClick() {
  float pitch = 0;
  const bool linear = encoderunittypegroup->ItemIndex() == kLinear;
  if (!ParseFloat(gratingpitchbox->text().toUtf8(), pitch) || !std::isfinite(pitch) ||
      (linear && pitch <= 0)) {
    Refuse(QString("\"%1\" is not a grating pitch. Enter the pitch in um as a number above 0.")
               .arg(gratingpitchbox->text()));
    return;
  }
  settings_.DisplayUnitType = unittypegroup->ItemIndex();
  settings_.EncoderUnitType = encoderunittypegroup->ItemIndex();
  pitch_ = pitch;
  settings_.DisplayUnits = unittypegroup->Items().value(settings_.DisplayUnitType);
  settings_.GratingIndex = opticaldiameterbox->currentIndex();
  settings_.SelectedGratingCounts = settings_.GratingCounts.value(settings_.GratingIndex);
  settings_.GratingNames.clear();
  for (int i = 0; i < opticaldiameterbox->count(); ++i) {
    settings_.GratingNames << opticaldiameterbox->itemText(i);
  }
  hide();
  emit Applied(settings_, pitch_);
}

void TEncoderSetupForm::Refuse(const QString& message) {
  AskUntilAnswered(questions_, {QuestionKind::Error, message, {Answer::Ok}});
}

}  // namespace quillon
