// The encoder and its display units: a linear scale with its grating pitch or
// plain encoder counts, and the table of rotary gratings with custom entries.
// The dialog edits a copy of the settings; the owner takes the unit and
// grating fields back from its signals and stores them.
#pragma once

#include <QDialog>

#include "settings_files.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

class Questions;
class RadioGroup;

// The fields this dialog decides: the unit types and names and the grating
// table with its selection. The dialog is not modal, so everything else in
// `from` may be older than the owner's.
void TakeEncoderFields(Settings& into, const Settings& from);

class TEncoderSetupForm : public QDialog {
  Q_OBJECT

 public:
  explicit TEncoderSetupForm(Questions& questions, QWidget* parent = nullptr);

  // Fills the dialog from the current settings and the grating pitch in
  // micrometres (not stored in the settings), and shows it, not modal.
  void Open(const Settings& settings, float gratingPitch);

 signals:
  // Apply: the owner takes the encoder fields, shows the units, refreshes
  // the resolution, rescales the plots and writes the settings.
  void Applied(const Settings& settings, float gratingPitch);
  // Remove All: only the built-in gratings are left; the owner takes the
  // encoder fields and writes the settings. The dialog stays open.
  void GratingsReset(const Settings& settings);

 private:
  void Fill();
  void encoderunittypegroupClick(int index);
  void SetGratingControlsEnabled(bool enabled);
  void checkboxstatus();
  void addgratingbuttonClick();
  bool CustomGratingChecked(int32_t& counts);
  void Button1Click();
  void applybuttonClick();
  void Refuse(const QString& message);

  Questions& questions_;
  Settings settings_;
  float pitch_ = 0;

  RadioGroup* encoderunittypegroup;
  RadioGroup* unittypegroup;
  QLabel* gratingpitchmemo;
  QLineEdit* gratingpitchbox;
  QGroupBox* GroupBox1;
  QLabel* opticaldiametermemo;
  QComboBox* opticaldiameterbox;
  QCheckBox* RadioButton1;
  QLabel* Label1;
  QLineEdit* gratingsizebox;
  QLabel* Label2;
  QLineEdit* fprbox;
  QPushButton* addgratingbutton;
  QPushButton* Button1;
  QPushButton* applybutton;
  QPushButton* BitBtn2;
};

}  // namespace quillon
